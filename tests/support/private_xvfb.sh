# Sourced by the scripts that need a real X display of their own.
#
# begin_x_test makes the temporary folder tmp (with the viewer's settings in
# it, so every run starts afresh), and on exit stops viewer_pid and xvfb_pid
# if set and removes tmp. fail prints its words and exits 1.
begin_x_test() {
    tmp=$(mktemp -d) || return 1
    export XDG_CONFIG_HOME=$tmp/config
    xvfb_pid=
    viewer_pid=
    trap end_x_test EXIT
}
# shellcheck disable=SC2317  # reached through the trap
end_x_test() {
    [[ -n $viewer_pid ]] && kill -KILL "$viewer_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && { kill -TERM "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
    rm -rf "$tmp"
}
fail() { echo "FAIL: $*" >&2; exit 1; }
#
# start_private_xvfb WxH DIR starts an X server with no window manager on a
# free display (the server picks the number and writes it once it is
# ready), logs to DIR/xvfb.log, and exports DISPLAY with Qt's xcb platform.
# It sets xvfb_pid; the caller stops the server. It returns 77 (skip) when
# Xvfb is missing or does not start, and 1 when it gives no display.
start_private_xvfb() {
    local size=$1 dir=$2 i
    command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; return 77; }
    exec 3>"$dir/displayfd"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for ((i = 0; i < 100; i++)); do
        [[ -s $dir/displayfd ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { cat "$dir/xvfb.log"; echo "SKIP: Xvfb did not start"; return 77; }
        sleep 0.1
    done
    [[ -s $dir/displayfd ]] || { echo "FAIL: Xvfb gave no display within 10 s" >&2; return 1; }
    DISPLAY=:$(head -n 1 "$dir/displayfd")
    export DISPLAY QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
}
