#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang and runs each of them: first
# over its corpus in fuzz/corpus/TARGET (seeds and inputs that once broke
# something), then on fresh inputs for SECONDS.
#
#   tools/run-fuzz.sh [--build-dir DIR] [--seconds N] [--jobs N] [--build-only] [TARGET...]
#
# TARGET is entities, markup or number_format (default: all three). New inputs
# that widen coverage go to DIR/corpus/TARGET, never into the repository; an
# input that breaks a target is saved as DIR/crash-* and the run fails. Copy
# such an input into fuzz/corpus/TARGET once it is mended, so that every later
# run replays it.
#
# Exit status: 0 passed, 1 a target failed, 77 skipped (no clang++-14 or no
# libFuzzer runtime here).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=30
jobs=1
build_only=0
targets=()
while (($#)); do
    case $1 in
    --build-dir) build=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --build-only) build_only=1; shift ;;
    -h | --help) sed -n '2,15p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
    esac
done
((${#targets[@]})) || targets=(entities markup number_format)

cxx=$(command -v clang++-14 || true)
if [[ -z $cxx ]]; then
    echo "SKIP: clang++-14 is not installed (tools/setup-debian.sh installs it)"
    exit 77
fi
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    "$cxx" -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
    echo "SKIP: clang++-14 cannot link libFuzzer (libclang-rt-14-dev is missing)"
    exit 77
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$cxx" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
((build_only)) && exit 0

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
status=0
for t in "${targets[@]}"; do
    exe=$build/bin/fuzz_$t
    seeds=$root/fuzz/corpus/$t
    [[ -x $exe && -d $seeds ]] || { echo "FAIL: no target or corpus named $t"; status=1; continue; }
    work=$build/corpus/$t
    mkdir -p "$work"
    echo "fuzz_$t: replaying $(find "$seeds" -type f | wc -l) corpus inputs, then ${seconds} s of new ones"
    # -print_final_stats gives the executions this run made; the log keeps
    # the detail for a failed run.
    parallel=()
    ((jobs > 1)) && parallel=(-jobs="$jobs" -workers="$jobs")
    if ! (cd "$build" && "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=512 "${parallel[@]}" -print_final_stats=1 "$work" "$seeds") \
        >"$build/fuzz_$t.log" 2>&1; then
        tail -n 40 "$build/fuzz_$t.log"
        echo "FAIL: fuzz_$t (inputs that broke it are in $build)"
        status=1
        continue
    fi
    grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$build/fuzz_$t.log" | tail -n 1 |
        sed "s/^/fuzz_$t: /"
done
exit $status
