#!/usr/bin/env bash
# Runs viewers on a private X server with no window manager and has another
# client destroy the window, as `xdotool windowclose` does: the viewer must
# end as closing it does, with status 0, within a few seconds.
#
#   x_window_test.sh VIEWER...
#
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool here).
set -u
# shellcheck source=support/private_xvfb.sh
. "$(dirname "$0")/support/private_xvfb.sh"
(($#)) || { echo "usage: x_window_test.sh VIEWER..." >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }

begin_x_test || exit 1

start_private_xvfb 1024x768 "$tmp" || exit $?

for viewer in "$@"; do
    name=$(basename "$viewer")
    "$viewer" 2>"$tmp/$name.err" &
    viewer_pid=$!
    wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$viewer_pid" 2>/dev/null | head -n 1)
    [[ -n $wid ]] || fail "$name showed no window within 30 s: $(cat "$tmp/$name.err")"
    xdotool windowclose "$wid" || fail "xdotool could not destroy $name's window"
    for ((i = 0; i < 50; i++)); do
        kill -0 "$viewer_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$viewer_pid" 2>/dev/null && fail "$name still runs 5 s after its window was destroyed"
    wait "$viewer_pid"
    rc=$?
    viewer_pid=
    ((rc == 0)) || fail "$name ended with status $rc after its window was destroyed: $(cat "$tmp/$name.err")"
    echo "$name: window $wid destroyed by another client, program ended with status 0"
done
exit 0
