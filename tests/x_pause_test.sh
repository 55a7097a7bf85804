#!/usr/bin/env bash
# alder's traced page 3 in a real window on a private X server: P stops the
# trace (two photographs 1.5 s apart are the same) and P takes it on (the
# next one differs); `--no-animation` shows the page finished within a
# second of start, still, and as F1 finishes it.
#
#   x_pause_test.sh ALDER
#
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool or import).
set -u
# shellcheck source=support/private_xvfb.sh
. "$(dirname "$0")/support/private_xvfb.sh"
(($# == 1)) || { echo "usage: x_pause_test.sh ALDER" >&2; exit 2; }
for tool in Xvfb xdotool import; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
viewer=$1
begin_x_test || exit 1
start_private_xvfb 1280x1024 "$tmp" || exit $?

shot() {
    import -window "$wid" -define png:exclude-chunks=date,time +set date:create +set date:modify \
        "png24:$tmp/$1.png" 2>/dev/null || fail "no photograph of the window"
}
same() { cmp -s "$tmp/$1.png" "$tmp/$2.png"; }
open() {
    "$viewer" "$@" 2>"$tmp/err" &
    viewer_pid=$!
    wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$viewer_pid" 2>/dev/null | head -n 1)
    [[ -n $wid ]] || fail "no window within 30 s: $(cat "$tmp/err")"
    xdotool windowfocus --sync "$wid" || fail "xdotool could not focus the window"
}
close() {
    xdotool key --window "$wid" Escape
    wait "$viewer_pid"
    viewer_pid=
}

open --page 3
# Each curve waits 0.02 s for every unit from the left edge to its first
# point: the first moves from about 3 s on.
sleep 4
shot moving
sleep 0.5
shot moved
same moving moved && fail "the trace did not move"
xdotool key --window "$wid" p
sleep 0.3
shot paused
sleep 1.5
shot paused-later
same paused paused-later || fail "the trace went on while paused"
xdotool key --window "$wid" p
sleep 1
shot resumed
same paused resumed && fail "P did not take the trace on"
xdotool key --window "$wid" F1
sleep 0.5
shot finished
close

start=$(date +%s%N)
open --no-animation --page 3
sleep 0.2
shot still
ms=$((($(date +%s%N) - start) / 1000000))
((ms < 1000)) || echo "note: the first photograph came $ms ms after start"
sleep 1.5
shot still-later
same still still-later || fail "something moved under --no-animation"
same still finished || fail "--no-animation does not show the page as F1 finishes it"
close
echo "P stopped the trace and took it on; --no-animation showed page 3 finished $ms ms after start"
exit 0
