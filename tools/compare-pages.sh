#!/usr/bin/env bash
# compare-pages.sh BEFORE_DIR AFTER_DIR [CHAPTER...]
# Renders the chapters' pages (screen, paper and listings; all chapters and
# the specimen unless named) with the built
# pageshot into AFTER_DIR and compares them byte for byte with BEFORE_DIR.
# Exit 0 when every file is identical.
set -euo pipefail
before=$1 after=$2
shift 2
chapters=("${@:-alder birch cedar hazel larch maple rowan specimen}")
cd "$(dirname "$0")/.."
mkdir -p "$after"
export QT_QPA_PLATFORM=offscreen
for c in ${chapters[@]}; do
  build/bin/pageshot "$c" "$after" --list --print >/dev/null 2>&1
done
status=0
for f in "$before"/*; do
  n=$(basename "$f")
  if ! cmp -s "$f" "$after/$n"; then echo "differs: $n"; status=1; fi
done
[ $status -eq 0 ] && echo "identical: $(ls "$before" | wc -l) files"
exit $status
