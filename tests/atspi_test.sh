#!/usr/bin/env bash
# A screen reader's view of hazel: on a private X server and a private D-Bus
# session with its own accessibility bus, hazel opened on page 1 shows that
# page as a document named by its heading whose text holds the page's
# numbers; after the Down key the document shown is page 2; the → and ←
# labels are push buttons that, pressed, show and focus pages 3 and 2.
#
#   atspi_test.sh HAZEL
#
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb, D-Bus session tool,
# AT-SPI bus or pyatspi here).
set -u
# shellcheck source=support/private_xvfb.sh
. "$(dirname "$0")/support/private_xvfb.sh"
viewer=${1:?usage: atspi_test.sh HAZEL}
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
fail() { echo "FAIL: $*" >&2; exit 1; }

# Inside the private session: the accessibility bus, the viewer, the reader.
if [[ ${ATSPI_TEST_IN_SESSION:-} == 1 ]]; then
    "$launcher" --launch-immediately >"$tmp/launcher.log" 2>&1 &
    launcher_pid=$!
    viewer_pid=
    trap '[[ -n $viewer_pid ]] && kill "$viewer_pid" 2>/dev/null; kill "$launcher_pid" 2>/dev/null' EXIT
    for ((i = 0; i < 100; i++)); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
        sleep 0.1
    done
    # Qt serves AT-SPI when a screen reader is said to run; none runs here.
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$viewer" --page 1 >"$tmp/viewer.log" 2>&1 &
    viewer_pid=$!
    /usr/bin/python3 "$here/atspi_read.py" hazel 30 >"$tmp/page1.json" 2>"$tmp/read.err" ||
        fail "no document of hazel shown over AT-SPI: $(cat "$tmp/read.err" "$tmp/viewer.log" "$tmp/launcher.log")"
    wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$viewer_pid" 2>/dev/null | head -n 1)
    [[ -n $wid ]] || fail "hazel showed no window"
    xdotool windowfocus --sync "$wid" key Down || fail "xdotool could not press Down"
    sleep 1
    /usr/bin/python3 "$here/atspi_read.py" hazel 10 >"$tmp/page2.json" 2>>"$tmp/read.err" ||
        fail "no document of hazel shown after Down: $(cat "$tmp/read.err")"
    /usr/bin/python3 "$here/atspi_read.py" --press 次のページ hazel 10 >"$tmp/page3.json" 2>>"$tmp/read.err" ||
        fail "pressing → over AT-SPI: $(cat "$tmp/read.err")"
    /usr/bin/python3 "$here/atspi_read.py" --press 前のページ hazel 10 >"$tmp/back2.json" 2>>"$tmp/read.err" ||
        fail "pressing ← over AT-SPI: $(cat "$tmp/read.err")"
    exit 0
fi

for tool in Xvfb xdotool dbus-run-session dbus-send "$launcher" /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/atspi-test.XXXXXX") || fail "no temporary directory"
# A viewer remembers where the reader left it: each run here starts afresh.
export XDG_CONFIG_HOME=$tmp/config
xvfb_pid=
# shellcheck disable=SC2317  # reached through the trap
cleanup() {
    [[ -n $xvfb_pid ]] && { kill -TERM "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
    rm -rf "$tmp"
}
trap cleanup EXIT

start_private_xvfb 1024x768 "$tmp" || exit $?
export XDG_RUNTIME_DIR=$tmp tmp
unset AT_SPI_BUS_ADDRESS

ATSPI_TEST_IN_SESSION=1 timeout 120 dbus-run-session -- bash "$0" "$viewer" || exit 1

# What the reader was given: the page in view, by its heading, with its text.
shown() {  # JSON -> the name of the one document shown
    /usr/bin/python3 -c 'import json, sys
docs = [json.loads(l) for l in open(sys.argv[1])]
shown = [d for d in docs if d["showing"]]
print(shown[0]["name"] if len(shown) == 1 else "%d documents shown" % len(shown))' "$1"
}
text_of() {  # JSON NAME -> that document's text
    /usr/bin/python3 -c 'import json, sys
for l in open(sys.argv[1]):
    d = json.loads(l)
    if d["name"] == sys.argv[2]: print(d["text"])' "$1" "$2"
}
heading1='(3) 誤差を比較する.'
[[ $(shown "$tmp/page1.json") == "$heading1" ]] ||
    fail "page 1 is shown as [$(shown "$tmp/page1.json")], not [$heading1]"
page1=$(text_of "$tmp/page1.json" "$heading1")
[[ $page1 == *1.26606* && $page1 == *"$heading1"* ]] || fail "page 1 reads: $page1"
(($(wc -l <"$tmp/page1.json") == 5)) || fail "hazel's 5 pages are not 5 documents: $(cat "$tmp/page1.json")"
heading2='(4) チェビシェフ補間'
[[ $(shown "$tmp/page2.json") == "$heading2" ]] ||
    fail "after Down the page shown is [$(shown "$tmp/page2.json")], not [$heading2]"
focused() {  # JSON -> the names of the documents focused
    /usr/bin/python3 -c 'import json, sys
print(",".join(d["name"] for d in map(json.loads, open(sys.argv[1])) if d["focused"]))' "$1"
}
heading3='(5) 選点直交性の証明.'
[[ $(shown "$tmp/page3.json") == "$heading3" && $(focused "$tmp/page3.json") == "$heading3" ]] ||
    fail "after pressing → the page shown is [$(shown "$tmp/page3.json")], focused [$(focused "$tmp/page3.json")]"
[[ $(shown "$tmp/back2.json") == "$heading2" && $(focused "$tmp/back2.json") == "$heading2" ]] ||
    fail "after pressing ← the page shown is [$(shown "$tmp/back2.json")], focused [$(focused "$tmp/back2.json")]"
echo "atspi: page 1 shown as [$heading1], $(wc -m <<<"$page1") characters; after Down [$heading2]; → and ← pressed as buttons"
echo "atspi: PASS"
