#!/usr/bin/env bash
# compare-windows.sh [--args "VIEWER ARGS"] BEFORE_DIR AFTER_DIR [VIEWER...]
# Photographs the built viewers' real windows under Xvfb into AFTER_DIR
# (tools/photograph-windows.sh) and compares them byte for byte with an
# earlier set in BEFORE_DIR, to show that a change leaves what a reader sees
# as it was, child widgets included. Exit 0 when every photo is identical.
set -euo pipefail
args=()
[[ ${1:-} == --args ]] && { args=(--args "$2"); shift 2; }
before=${1:?usage: compare-windows.sh [--args ARGS] BEFORE_DIR AFTER_DIR [VIEWER...]}
after=${2:?usage: compare-windows.sh [--args ARGS] BEFORE_DIR AFTER_DIR [VIEWER...]}
shift 2
cd "$(dirname "$0")/.."
tools/photograph-windows.sh "${args[@]}" build/bin "$after" "$@" >/dev/null
status=0 count=0
for f in "$after"/*.png; do
  n=$(basename "$f")
  count=$((count + 1))
  if [[ ! -e $before/$n ]]; then echo "new: $n"; status=1
  elif ! cmp -s "$before/$n" "$f"; then
    echo "differs: $n ($(compare -metric AE "$before/$n" "$f" null: 2>&1) pixels)"
    status=1
  fi
done
[ $status -eq 0 ] && echo "identical: $count windows"
exit $status
