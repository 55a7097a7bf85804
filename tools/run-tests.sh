#!/usr/bin/env bash
# Sets up the machine, then builds and runs the whole test suite headless:
# once in the normal build and once under AddressSanitizer and
# UndefinedBehaviorSanitizer. The sanitizer half runs even when the normal
# half failed, so one run shows every failure; the exit status is non-zero
# when either half failed.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh || exit 1
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# One build and its tests; the first failing step ends the half.
half() {
    cmake --preset "$1" >/dev/null &&
        cmake --build --preset "$1" -j "$jobs" &&
        ctest --preset "$1" -j "$jobs"
}

status=0
half ci || { status=1; echo "run-tests: the normal build's half failed" >&2; }
half asan || { status=1; echo "run-tests: the sanitizer build's half failed" >&2; }
exit $status
