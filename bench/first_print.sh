#!/usr/bin/env bash
# first_print.sh [RUNS [CHAPTER...]]
# A print click to the job handed to the print system, for every page of the
# seven viewers: the first click of a fresh process (print-system plugin
# loaded, server asked for its printer) and a second one, RUNS processes per
# page (default 3), medians. Starts a private CUPS server whose default queue
# turns each job into PostScript and writes it to /dev/null, so the job goes
# through the print system as to a real printer and nothing comes out.
# Needs root (as the print-server test) and the default or ci preset built.
set -euo pipefail
cd "$(dirname "$0")/.."
export PATH="/usr/sbin:/sbin:$PATH"
# shellcheck source=../tests/support/private_cups.sh
source tests/support/private_cups.sh
runs=${1:-3}
shift $(($# > 0 ? 1 : 0))
chapters=("$@")
[ ${#chapters[@]} -gt 0 ] || chapters=(alder birch cedar hazel larch maple rowan)
probe=build/bin/first_print
[[ -x $probe ]] || { echo "build the default or ci preset first ($probe)" >&2; exit 1; }

tmp=$(mktemp -d /tmp/first-print.XXXXXX)
chmod 755 "$tmp"
mkdir -m 700 "$tmp/run"
cupsd_pid=
cleanup() {
    [[ -n $cupsd_pid ]] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
export CUPS_SERVER=$tmp/cups.sock XDG_RUNTIME_DIR=$tmp/run QT_QPA_PLATFORM=offscreen
unset LPDEST PRINTER

private_cups_conf "$tmp" "$CUPS_SERVER" Yes
cupsd -f -c "$tmp/conf/cupsd.conf" -s "$tmp/conf/cups-files.conf" >"$tmp/cupsd.out" 2>&1 &
cupsd_pid=$!
private_cups_wait "$cupsd_pid" || { echo "the print server did not start" >&2; exit 1; }
lpadmin -p bench -E -v file:/dev/null -m drv:///sample.drv/generic.ppd 2>/dev/null
lpadmin -d bench

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-7s %4s %14s %15s\n' viewer page "first click ms" "second click ms"
for c in "${chapters[@]}"; do
    last=$("build/bin/$c" --help | sed -nE 's/^Pages 0 to ([0-9]+):.*/\1/p')
    for ((p = 0; p <= last; p++)); do
        firsts=() seconds=()
        for ((r = 0; r < runs; r++)); do
            read -r a b < <("$probe" "$c" "$p" 2>/dev/null) || { a=; b=; }
            [[ -n ${a:-} ]] || break
            firsts+=("$a") seconds+=("$b")
        done
        [[ ${#firsts[@]} -gt 0 ]] || continue
        printf '%-7s %4d %14s %15s\n' "$c" "$p" \
            "$(printf '%s\n' "${firsts[@]}" | median)" "$(printf '%s\n' "${seconds[@]}" | median)"
    done
done
