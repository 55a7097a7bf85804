#!/usr/bin/env bash
# Types at a viewer through a real X server as fast as xdotool can: alder
# opened on its traced page 3, Up and Down alternated KEYS times (each Down
# enters the page again while it traces), then Escape. The viewer must work
# through the keys and end with status 0.
#
#   x_key_storm_test.sh ALDER [KEYS]
#
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool here).
set -u
# shellcheck source=support/private_xvfb.sh
. "$(dirname "$0")/support/private_xvfb.sh"
(($# >= 1)) || { echo "usage: x_key_storm_test.sh ALDER [KEYS]" >&2; exit 2; }
viewer=$1
keys=${2:-10000}
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }

begin_x_test || exit 1

start_private_xvfb 1280x1024 "$tmp" || exit $?

"$viewer" --page 3 2>"$tmp/viewer.err" &
viewer_pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$viewer_pid" 2>/dev/null | head -n 1)
[[ -n $wid ]] || fail "no window within 30 s: $(cat "$tmp/viewer.err")"
# No window manager here: the keys go where the input focus is.
xdotool windowfocus --sync "$wid" || fail "xdotool could not focus the window"

sequence=()
for ((i = 0; i < keys / 2; i++)); do sequence+=(Up Down); done
start=$(date +%s%N)
xdotool key --delay 0 "${sequence[@]}" Escape || fail "xdotool could not type"
typed=$(date +%s%N)
for ((i = 0; i < 300; i++)); do
    kill -0 "$viewer_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$viewer_pid" 2>/dev/null && fail "still running 30 s after the keys and Escape were typed"
wait "$viewer_pid"
rc=$?
viewer_pid=
ended=$(date +%s%N)
((rc == 0)) || fail "ended with status $rc after $keys keys: $(cat "$tmp/viewer.err")"
echo "$((keys)) keys and Escape typed in $(((typed - start) / 1000000)) ms; the viewer ended $(((ended - typed) / 1000000)) ms later with status 0"
exit 0
