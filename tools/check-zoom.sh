#!/usr/bin/env bash
# check-zoom.sh [--steps "P ..."] [--screens "WxH ..."] [VIEWER...]
# Every page of the built viewers photographed in real windows
# (tools/photograph-windows.sh) at every zoom step, and at the zoom a window
# opens at on small screens, each against what that page must look like:
# - above 100 %, the same page as vectors: the page renderer's screen PDF
#   (pageshot --screen-pdf, the page boxes' pictures at their places)
#   rasterised by poppler at 96 dpi times the zoom; its text edges must also
#   be as sharp as the vector page's, measured as tests/paper_match_test.sh
#   measures them (the half-tone pixels per solid ink pixel);
# - below 100 % and on the small screens, the 100 % photograph scaled to the
#   photograph's size (a page drawn at 100 % and cut off at the window's
#   edges does not match it).
# Below the title band (labels are widgets, not in any picture) each photo
# must correlate with its reference after a small blur (normalised cross
# correlation at least 0.95; the blur is paper_match's 1.5 canvas pixels at
# the zoom, and never less than 1.5 pixels of the photograph). A page drawn
# at 100 % and cut off at a smaller window's edges scores below 0.1.
# Exit status: 0 when every page passes.
set -euo pipefail
cd "$(dirname "$0")/.."
steps="50 67 75 90 110 125 150 175 200 250 300 400"
screens="640x480 1024x768 1366x768"
while [[ $# -gt 0 && $1 == --* ]]; do
    case $1 in
        --steps) steps=$2; shift 2 ;;
        --screens) screens=$2; shift 2 ;;
        *) echo "check-zoom: unknown option $1" >&2; exit 2 ;;
    esac
done
viewers=("$@")
((${#viewers[@]})) || viewers=(alder birch cedar hazel larch maple rowan)
min_ncc=0.95
edge_slack=1.15  # the photo's edge ratio may exceed the vector page's by this factor
tmp=$(mktemp -d "${TMPDIR:-/tmp}/check-zoom.XXXXXX")
# A viewer remembers where the reader left it: each run here starts afresh.
export XDG_CONFIG_HOME=$tmp/config
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen

edge_ratio() {  # IMAGE -> half-tone per solid ink pixel
    local solid mid
    solid=$(convert "$1" -colorspace Gray -threshold 25% -format '%[fx:1-mean]' info:)
    mid=$(convert "$1" -colorspace Gray -threshold 75% -format '%[fx:1-mean]' info:)
    awk -v s="$solid" -v m="$mid" 'BEGIN { printf "%.3f\n", (s > 0 ? (m - s) / s : 99) }'
}

photograph() {  # photograph NAME SCREEN ARGS: every viewer into $tmp/NAME
    tools/photograph-windows.sh --args "$3" --screen "$2" build/bin "$tmp/$1" "${viewers[@]}" >/dev/null
}

status=0
# compare LABEL SHOT REF PERCENT [EDGES]: one page, both images the same size.
compare_page() {
    local label=$1 shot=$2 ref=$3 percent=$4 edges=${5:-} w h band blur ncc verdict detail=
    read -r w h < <(identify -format '%w %h\n' "$shot")
    band=$((40 * percent / 100))
    # At least 1.5 pixels of the photograph: below 100 % glyphs drawn at
    # their small size and glyphs scaled down differ in detail finer than that.
    blur=$(awk -v p="$percent" 'BEGIN { b = 1.5 * p / 100; printf "%.2f", (b < 1.5 ? 1.5 : b) }')
    convert "$shot" -colorspace Gray -crop "${w}x$((h - band))+0+$band" +repage "$tmp/a.png"
    convert "$ref" -colorspace Gray -resize "${w}x${h}!" -crop "${w}x$((h - band))+0+$band" +repage "$tmp/b.png"
    convert "$tmp/a.png" -blur "0x$blur" "$tmp/a-soft.png"
    convert "$tmp/b.png" -blur "0x$blur" "$tmp/b-soft.png"
    ncc=$({ compare -metric NCC "$tmp/a-soft.png" "$tmp/b-soft.png" null: 2>&1 || true; } | awk '{ print $1 }')
    verdict=ok
    awk -v a="$ncc" -v t="$min_ncc" 'BEGIN { exit !(a >= t) }' || verdict="FAIL (NCC)"
    if [[ -n $edges ]]; then
        local shot_edges ref_edges
        shot_edges=$(edge_ratio "$tmp/a.png")
        ref_edges=$(edge_ratio "$tmp/b.png")
        detail=", edges $shot_edges (vector page $ref_edges)"
        awk -v s="$shot_edges" -v r="$ref_edges" -v k="$edge_slack" 'BEGIN { exit !(s <= r * k) }' ||
            verdict="FAIL (soft edges)"
    fi
    [[ $verdict == ok ]] || status=1
    printf '%s: NCC %s%s: %s\n' "$label" "$ncc" "$detail" "$verdict"
}

photograph one 1280x1024 ""
for v in "${viewers[@]}"; do build/bin/pageshot "$v" "$tmp/pdf" --screen-pdf >/dev/null 2>&1; done
pages_of() { pdfinfo "$tmp/pdf/$1-screen.pdf" | awk '$1 == "Pages:" { print $2 }'; }

for percent in $steps; do
    # Room for the window at 400 %.
    photograph "z$percent" 3400x3000 "--zoom $percent"
    for v in "${viewers[@]}"; do
        for ((n = 0; n < $(pages_of "$v"); n++)); do
            shot=$tmp/z$percent/$v-p$n.png
            if ((percent > 100)); then
                pdftoppm -r $((96 * percent / 100)) -f $((n + 1)) -l $((n + 1)) -png -singlefile \
                    "$tmp/pdf/$v-screen.pdf" "$tmp/ref"
                compare_page "$v page $n at $percent %" "$shot" "$tmp/ref.png" "$percent" edges
            else
                compare_page "$v page $n at $percent %" "$shot" "$tmp/one/$v-p$n.png" "$percent"
            fi
        done
    done
done

# The zoom a window opens at where it does not fit at 100 %.
for screen in $screens; do
    photograph "s$screen" "$screen" ""
    for v in "${viewers[@]}"; do
        for ((n = 0; n < $(pages_of "$v"); n++)); do
            shot=$tmp/s$screen/$v-p$n.png
            read -r w _ < <(identify -format '%w %h\n' "$shot")
            read -r w1 _ < <(identify -format '%w %h\n' "$tmp/one/$v-p$n.png")
            compare_page "$v page $n on $screen" "$shot" "$tmp/one/$v-p$n.png" $((100 * w / w1))
        done
    done
done
exit $status
