#!/usr/bin/env bash
# startup_breakdown.sh [CHAPTER...]
# Where start-up goes, in instructions (valgrind's callgrind, so the figures
# do not move with the load of a shared machine): the floor program and each
# viewer's start-up probe, split into process start (dynamic loading), the
# font list (the font configuration read, the set limited to the pages' faces
# and Qt's list made from it), faces opened (font engines loaded, with their
# count), the pages drawn (of which: pages put to rest as runs) and the
# window's first paint. Build the default or ci preset first.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
chapters=("$@")
[ ${#chapters[@]} -gt 0 ] || chapters=(alder birch cedar hazel larch maple rowan)

# Inclusive instructions of the first function matching a pattern.
inclusive() {
  grep -m1 -E "$2" "$1" | awk '{gsub(/,/, "", $1); printf "%.1f", $1 / 1e6}'
}
# The sum of several functions' inclusive counts (each pattern's first match).
sum() {
  local file=$1 total=0 v
  shift
  for pattern in "$@"; do
    v=$(inclusive "$file" "$pattern")
    total=$(awk -v a="$total" -v b="${v:-0}" 'BEGIN{printf "%.1f", a + b}')
  done
  echo "$total"
}
# Calls into the font engine loader, from the caller lines of its entry.
engines() {
  grep -B1 -E '\*  .*QFontDatabasePrivate::loadEngine\(' "$1" | grep 'findFont' |
    sed -E 's/.*\(([0-9,]+)x\).*/\1/; s/,//g'
}

printf '%-8s %9s %9s %9s %14s %9s %9s %9s\n' program "total M" "loading" "font list" "faces (count)" pages "resting" "1st paint"
for c in floor "${chapters[@]}"; do
  if [ "$c" = floor ]; then cmd=(build/bin/startup_floor); else cmd=(build/bin/startup_probe "$c"); fi
  valgrind --tool=callgrind --callgrind-out-file="$out/$c.cg" "${cmd[@]}" >/dev/null 2>&1
  callgrind_annotate --inclusive=yes --tree=caller "$out/$c.cg" >"$out/$c.txt" 2>/dev/null
  total=$(grep -m1 'PROGRAM TOTALS' "$out/$c.txt" | awk '{gsub(/,/, "", $1); printf "%.1f", $1 / 1e6}')
  printf '%-8s %9s %9s %9s %8s (%3s) %9s %9s %9s\n' "$c" "$total" \
    "$(inclusive "$out/$c.txt" '\*  .*rtld.c:_dl_start ')" \
    "$(sum "$out/$c.txt" '\*  .*populateFontDatabase' '\*  .*limitFontSet\(')" \
    "$(inclusive "$out/$c.txt" '\*  .*QFontDatabasePrivate::loadEngine\(')" \
    "$(engines "$out/$c.txt")" \
    "$(inclusive "$out/$c.txt" '\*  .*::drawPage\(int\)' || true)" \
    "$(inclusive "$out/$c.txt" '\*  .*RasterCanvas::rest\(\)' || true)" \
    "$(inclusive "$out/$c.txt" '\*  .*QWidgetRepaintManager::paintAndFlush' || true)"
done
