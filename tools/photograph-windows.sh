#!/usr/bin/env bash
# photograph-windows.sh [--args "VIEWER ARGS"] [--screen WxH] BINDIR OUTDIR [VIEWER...]
#
# Photographs real viewer windows under a private Xvfb server, child widgets
# included (cedar's letters and step buttons, larch's figure boxes), which
# the page renderer does not draw. For each viewer: every page, reached with
# the Down key as a reader pages; for cedar also page 1 before step 1, in the
# middle of step 4 and finished, clicked through at the real pace. Photos are
# PNG files without time stamps, OUTDIR/VIEWER-pN.png and
# OUTDIR/cedar-p1-before.png, -step4.png, -finished.png, so two runs can be
# compared byte for byte (tools/compare-windows.sh).
#
# Paced drawing is skipped with F1 where a viewer has it, except for cedar's
# construction, which is photographed as a reader clicks it through (about
# half a minute).
set -euo pipefail

viewer_args=() screen=1280x1024
while [[ $# -gt 0 && $1 == --* ]]; do
  case $1 in
    --args) read -r -a viewer_args <<<"$2"; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    *) echo "photograph-windows: unknown option $1" >&2; exit 2 ;;
  esac
done
bindir=${1:?usage: photograph-windows.sh [--args ARGS] [--screen WxH] BINDIR OUTDIR [VIEWER...]}
out=${2:?usage: photograph-windows.sh [--args ARGS] [--screen WxH] BINDIR OUTDIR [VIEWER...]}
shift 2
viewers=("$@")
((${#viewers[@]})) || viewers=(alder birch cedar hazel larch maple rowan)
for tool in Xvfb xdotool import; do
  command -v $tool >/dev/null || { echo "photograph-windows: $tool missing (tools/setup-debian.sh)" >&2; exit 1; }
done
mkdir -p "$out"

# A display of our own, so that nothing else draws on it.
. "$(dirname "$0")/../tests/support/private_xvfb.sh"
scratch=$(mktemp -d)
# A viewer remembers where the reader left it: every photograph starts afresh.
export XDG_CONFIG_HOME=$scratch/config
xvfb_pid= pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
  wait 2>/dev/null || true
}
trap cleanup EXIT
start_private_xvfb "$screen" "$scratch" >&2 || exit 1
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done

wid=
# The window of the running viewer, once it is mapped.
find_window() {
  wid=
  for _ in $(seq 200); do
    wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
    [[ -n $wid ]] && break
    sleep 0.05
  done
  if [[ -z $wid ]]; then
    echo "photograph-windows: no window for $1; it said:" >&2
    cat "$out/.viewer.log" >&2
    exit 1
  fi
  xdotool windowfocus --sync "$wid" >/dev/null 2>&1 || true
}

shot() {  # shot FILE: the window's client area, without time stamps
  import -window "$wid" -define png:exclude-chunks=date,time +set date:create +set date:modify \
    "png24:$1" 2>/dev/null
}

# Photographs once the window has stopped changing (two equal shots 0.3 s apart).
steady_shot() {
  local file=$1 tmp=$out/.steady.png
  shot "$file"
  for _ in $(seq 40); do
    sleep 0.3
    shot "$tmp"
    if cmp -s "$file" "$tmp"; then rm -f "$tmp"; return 0; fi
    mv "$tmp" "$file"
  done
  echo "photograph-windows: $file never stopped changing" >&2
  return 1
}

key() { xdotool key --window "$wid" --clearmodifiers "$1"; }

# Clicks at (x, y) of the window's client area.
click() {
  xdotool mousemove --window "$wid" "$1" "$2" click 1
}

# The orange step button waiting for a click, as "X Y" of its centre, or
# nothing when none is on view.
waiting_button() {
  local box
  box=$(convert "$1" -fill white +opaque "rgb(255,165,0)" -fill black -opaque "rgb(255,165,0)" \
    -format '%@' info: 2>/dev/null) || return 0
  [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
  # Big enough for a button at 50 %, not a stray orange pixel.
  ((BASH_REMATCH[1] > 12 && BASH_REMATCH[2] > 5)) || return 0
  echo "$((BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) $((BASH_REMATCH[4] + BASH_REMATCH[2] / 2))"
}

# Cedar's page 1 waits for the reader while start-up draws it: photographed
# before step 1, then steps 1 to 3 clicked and drawn at the real pace, then
# step 4 clicked and photographed before its first letter blinks (the
# viewer is stopped for the photo).
photograph_construction() {
  local cur=$out/.construction.png at prev_y=-1 s
  steady_shot "$out/cedar-p1-before.png"
  for s in 1 2 3 4; do
    at=
    for _ in $(seq 150); do
      shot "$cur"
      at=$(waiting_button "$cur")
      if [[ -n $at ]] && (( ${at#* } > prev_y )); then break; fi
      at=
      sleep 0.2
    done
    [[ -n $at ]] || { echo "photograph-windows: cedar's Step$s button never came" >&2; exit 1; }
    prev_y=${at#* }
    # Drawn and waiting: nothing moves until the click.
    steady_shot "$cur"
    click ${at% *} ${at#* }
  done
  sleep 0.12
  kill -STOP "$pid"
  sleep 0.1
  shot "$out/cedar-p1-step4.png"
  kill -CONT "$pid"
  rm -f "$cur"
}

pages_of() {  # from --help: "Pages 0 to N"
  "$bindir/$1" --help | sed -n 's/^Pages 0 to \([0-9]*\).*/\1/p'
}

for v in "${viewers[@]}"; do
  last=$(pages_of "$v")
  [[ -n $last ]] || { echo "photograph-windows: $v --help names no pages" >&2; exit 1; }
  "$bindir/$v" "${viewer_args[@]}" >"$out/.viewer.log" 2>&1 &
  pid=$!
  find_window "$v"
  if [[ $v == cedar ]]; then
    photograph_construction
    key F1  # the rest of the construction at once
  fi
  case $v in alder) key F1 ;; esac
  sleep 0.3
  for n in $(seq 0 "$last"); do
    ((n > 0)) && key Down
    steady_shot "$out/$v-p$n.png"
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
done
rm -f "$out/.viewer.log"
echo "photographed: $(ls "$out"/*.png | wc -l) windows in $out"
