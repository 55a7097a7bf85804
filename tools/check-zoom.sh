#!/usr/bin/env bash
# check-zoom.sh [VIEWER...]
# Every page of the built viewers photographed in a real window at 200 %
# (tools/photograph-windows.sh) against the same page as vectors: the page
# renderer's screen PDF (pageshot --screen-pdf, the page boxes' pictures at
# their places) rasterised by poppler at 192 dpi, twice the canvas's 96.
# Below the title band (labels are widgets, not in any picture) each photo
# must correlate with its vector page after a small blur (normalised cross
# correlation at least 0.95; the blur is paper_match's 1.5 canvas pixels,
# 3 pixels here), and its text edges must be as sharp as the vector page's,
# measured as tests/paper_match_test.sh measures them: the half-tone pixels
# per solid ink pixel.
# Exit status: 0 when every page passes.
set -euo pipefail
cd "$(dirname "$0")/.."
viewers=("$@")
((${#viewers[@]})) || viewers=(alder birch cedar hazel larch maple rowan)
min_ncc=0.95
edge_slack=1.15  # the photo's edge ratio may exceed the vector page's by this factor
tmp=$(mktemp -d "${TMPDIR:-/tmp}/check-zoom.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen

edge_ratio() {  # IMAGE -> half-tone per solid ink pixel
    local solid mid
    solid=$(convert "$1" -colorspace Gray -threshold 25% -format '%[fx:1-mean]' info:)
    mid=$(convert "$1" -colorspace Gray -threshold 75% -format '%[fx:1-mean]' info:)
    awk -v s="$solid" -v m="$mid" 'BEGIN { printf "%.3f\n", (s > 0 ? (m - s) / s : 99) }'
}

tools/photograph-windows.sh --args "--zoom 200" --screen 1920x1600 build/bin "$tmp/shots" "${viewers[@]}" >/dev/null
status=0
for v in "${viewers[@]}"; do
    build/bin/pageshot "$v" "$tmp/pdf" --screen-pdf >/dev/null 2>&1
    pages=$(pdfinfo "$tmp/pdf/$v-screen.pdf" | awk '$1 == "Pages:" { print $2 }')
    for ((n = 0; n < pages; n++)); do
        shot=$tmp/shots/$v-p$n.png
        read -r w h < <(identify -format '%w %h\n' "$shot")
        pdftoppm -r 192 -f $((n + 1)) -l $((n + 1)) -png -singlefile "$tmp/pdf/$v-screen.pdf" "$tmp/ref"
        # Below the title and the button labels (36 pixels at 100 %).
        band=80
        convert "$shot" -colorspace Gray -crop "${w}x$((h - band))+0+$band" +repage "$tmp/a.png"
        convert "$tmp/ref.png" -colorspace Gray -crop "${w}x$((h - band))+0+$band" +repage "$tmp/b.png"
        convert "$tmp/a.png" -blur 0x3 "$tmp/a-soft.png"
        convert "$tmp/b.png" -blur 0x3 "$tmp/b-soft.png"
        ncc=$({ compare -metric NCC "$tmp/a-soft.png" "$tmp/b-soft.png" null: 2>&1 || true; } | awk '{ print $1 }')
        shot_edges=$(edge_ratio "$tmp/a.png")
        ref_edges=$(edge_ratio "$tmp/b.png")
        verdict=ok
        awk -v a="$ncc" -v t="$min_ncc" 'BEGIN { exit !(a >= t) }' || verdict="FAIL (NCC)"
        awk -v s="$shot_edges" -v r="$ref_edges" -v k="$edge_slack" 'BEGIN { exit !(s <= r * k) }' ||
            verdict="FAIL (soft edges)"
        [[ $verdict == ok ]] || status=1
        printf '%s page %d: NCC %s, edges %s (vector page %s): %s\n' "$v" "$n" "$ncc" "$shot_edges" "$ref_edges" "$verdict"
    done
done
exit $status
