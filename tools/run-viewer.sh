#!/usr/bin/env bash
# Sets up the machine, builds, and opens the viewer named on the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
name="${1:?usage: tools/run-viewer.sh VIEWER (alder birch cedar hazel larch maple rowan specimen)}"
tools/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec "build/bin/$name"
