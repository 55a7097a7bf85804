#!/usr/bin/env bash
# A lecture on one 1920x1080 screen of a private X server, with real keys:
# `VIEWER --present` shows the presenter view and no hall; F11 puts the hall
# over it in full screen; B blanks the hall (a black photograph) and B again
# shows the page; Page Down pages the hall on; Escape twice ends the
# presentation and the plain window comes back.
#
#   x_present_test.sh VIEWER
#
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool or import).
set -u
# shellcheck source=support/private_xvfb.sh
. "$(dirname "$0")/support/private_xvfb.sh"
(($# == 1)) || { echo "usage: x_present_test.sh VIEWER" >&2; exit 2; }
for tool in Xvfb xdotool import convert; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
viewer=$1
name=$(basename "$viewer")
begin_x_test || exit 1
# The mean lightness of the whole screen, 0 (black) to 1 (white).
lightness() { import -window root "$tmp/shot.png" && convert "$tmp/shot.png" -colorspace Gray -format '%[fx:mean]' info:; }
# The viewer's first mapped window whose name matches.
mapped() { xdotool search --all --onlyvisible --pid "$viewer_pid" --name "$1" 2>/dev/null | head -n 1; }
# Waits up to 10 s for a window of that name to be mapped (or, with "!",
# for none to be).
wait_for() {
    local i
    for ((i = 0; i < 100; i++)); do
        if [[ $1 == '!' ]]; then [[ -z $(mapped "$2") ]] && return 0
        else [[ -n $(mapped "$1") ]] && return 0; fi
        sleep 0.1
    done
    return 1
}

start_private_xvfb 1920x1080 "$tmp" || exit $?
"$viewer" --present 2>"$tmp/err" &
viewer_pid=$!
wait_for '発表者ビュー' || fail "no presenter view within 10 s: $(cat "$tmp/err")"
presenter=$(mapped '発表者ビュー')
sleep 1
# Only the presenter view: the hall waits for F11.
[[ $(xdotool search --all --onlyvisible --pid "$viewer_pid" --name . | wc -l) -eq 1 ]] ||
    fail "more than the presenter view is shown before F11"
xdotool windowfocus --sync "$presenter" key F11
sleep 1.5
light=$(lightness)
awk -v l="$light" 'BEGIN { exit !(l > 0.5) }' || fail "the hall is not shown full screen after F11 (mean $light)"
xdotool key b
sleep 0.7
dark=$(lightness)
awk -v l="$dark" 'BEGIN { exit !(l < 0.001) }' || fail "B did not blank the hall to black (mean $dark)"
xdotool key b
sleep 0.7
again=$(lightness)
awk -v l="$again" 'BEGIN { exit !(l > 0.5) }' || fail "B again did not show the page (mean $again)"
cp "$tmp/shot.png" "$tmp/page0.png"
xdotool key Next
sleep 1.5
import -window root "$tmp/page1.png"
diff=$(compare -metric AE "$tmp/page0.png" "$tmp/page1.png" null: 2>&1)
((${diff%% *} > 10000)) || fail "Page Down did not change the hall's page ($diff pixels differ)"
xdotool key Escape
sleep 1
[[ -n $(mapped '発表者ビュー') ]] || fail "the first Escape ended the presentation instead of leaving the hall's full screen"
xdotool key Escape
wait_for '!' '発表者ビュー' || fail "Escape did not end the presentation"
[[ -n $(xdotool search --all --onlyvisible --pid "$viewer_pid" --name . | head -n 1) ]] ||
    fail "the plain window did not come back"
kill -0 "$viewer_pid" || fail "$name ended"
echo "$name --present: presenter view, F11 hall, black blank ($dark), Page Down, Escape back to the plain window"
exit 0
