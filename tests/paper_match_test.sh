#!/usr/bin/env bash
# The chapter PDF against the print images: every page of every chapter,
# exported with pageshot --pdf and rasterised back to the canvas's own pixel
# grid, must look like the image the print label sends (normalised
# correlation after a slight blur), and at 300 dpi its text must have the
# sharp edges of vectors, not the soft staircase of an enlarged 96-dpi image.
#
#   paper_match_test.sh PAGESHOT [CHAPTER...]
#
# Exit status: 0 passed, 1 failed.
set -u

pageshot=${1:?usage: paper_match_test.sh PAGESHOT [CHAPTER...]}
shift
min_ncc=0.95
# Half-tone pixels per solid ink pixel at 300 dpi; see edge_ratio.
max_edge_ratio=0.75
# The PDF page: A4 with 15 mm margins (pageshot's writePdf).
area_w_mm=180 area_h_mm=267 margin_mm=15

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in pdftoppm pdfinfo convert compare identify; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup-debian.sh installs it)"
done
[[ -x $pageshot ]] || fail "pageshot is not at $pageshot"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/paper-match.XXXXXX") || fail "no temporary directory"
trap 'rm -rf "$tmp"' EXIT

chapters=("$@")
if ((${#chapters[@]} == 0)); then
    read -r -a chapters < <("$pageshot" 2>&1 | sed -n 's/^chapters: //p')
fi
((${#chapters[@]} > 0)) || fail "pageshot lists no chapters"

# The resolution at which one canvas pixel of a W x H page becomes scale
# device pixels, and the page's top-left corner there.
geometry() {  # W H SCALE -> RESOLUTION X0
    awk -v w="$1" -v h="$2" -v k="$3" -v aw="$area_w_mm" -v ah="$area_h_mm" -v m="$margin_mm" 'BEGIN {
        fit = aw / 25.4 / (w / 96); if (ah / 25.4 / (h / 96) < fit) fit = ah / 25.4 / (h / 96)
        r = 96 * k / fit
        printf "%.6f %d\n", r, int(m / 25.4 * r + 0.5) }'
}

# Pixels of half-tone grey (a quarter to three quarters of ink) per pixel of
# solid ink: the width of text edges measured against the strokes they bound.
# A vector glyph at 300 dpi has one thin rim of grey; an enlarged 96-dpi
# glyph is grey for a third of a canvas pixel on either side of every step.
edge_ratio() {  # IMAGE -> ratio
    local solid mid
    solid=$(convert "$1" -colorspace Gray -threshold 25% -format '%[fx:1-mean]' info:)
    mid=$(convert "$1" -colorspace Gray -threshold 75% -format '%[fx:1-mean]' info:)
    awk -v s="$solid" -v m="$mid" 'BEGIN { printf "%.3f\n", (s > 0 ? (m - s) / s : 99) }'
}

pages_checked=0
for chapter in "${chapters[@]}"; do
    out=$tmp/$chapter
    timeout 120 "$pageshot" "$chapter" "$out" --print --pdf 2>"$tmp/err" ||
        fail "pageshot $chapter --print --pdf failed: $(cat "$tmp/err")"
    pdf=$out/$chapter.pdf
    [[ -s $pdf ]] || fail "no $pdf"
    n_png=$(find "$out" -name "$chapter-p*-print.png" | wc -l)
    n_pdf=$(pdfinfo "$pdf" | awk '$1 == "Pages:" { print $2 }')
    [[ $n_pdf == "$n_png" ]] || fail "$chapter: $n_pdf PDF pages for $n_png printed pages"
    for ((n = 0; n < n_png; n++)); do
        ref=$out/$chapter-p$n-print.png
        read -r w h < <(identify -format '%w %h\n' "$ref")
        read -r res x0 < <(geometry "$w" "$h" 1)
        pdftoppm -r "$res" -f $((n + 1)) -l $((n + 1)) -x "$x0" -y "$x0" -W "$w" -H "$h" \
            -gray -png -singlefile "$pdf" "$tmp/page" || fail "pdftoppm could not render $pdf page $((n + 1))"
        convert "$tmp/page.png" -blur 0x1.5 "$tmp/a.png" || fail "convert could not blur $chapter page $n"
        convert "$ref" -colorspace Gray -blur 0x1.5 "$tmp/b.png" || fail "convert could not blur $ref"
        ncc=$({ compare -metric NCC "$tmp/a.png" "$tmp/b.png" null: 2>&1 || true; } | awk '{ print $1 }')
        [[ $ncc =~ ^-?[0-9.]+(e-?[0-9]+)?$ ]] || fail "compare gave no similarity for $chapter page $n: $ncc"
        echo "paper_match: $chapter page $n: NCC $ncc"
        awk -v a="$ncc" -v t="$min_ncc" 'BEGIN { exit !(a >= t) }' ||
            fail "$chapter page $n on paper differs from its print image: NCC $ncc < $min_ncc"
        pages_checked=$((pages_checked + 1))
    done
done

# Sharpness, on the first page of the first chapter: the PDF at 300 canvas
# pixels per inch against the print image enlarged as a printer would.
chapter=${chapters[0]}
ref=$tmp/$chapter/$chapter-p0-print.png
read -r w h < <(identify -format '%w %h\n' "$ref")
read -r res x0 < <(geometry "$w" "$h" 3.125)
pdftoppm -r "$res" -f 1 -l 1 -x "$x0" -y "$x0" -W $((w * 3125 / 1000)) -H $((h * 3125 / 1000)) \
    -gray -png -singlefile "$tmp/$chapter/$chapter.pdf" "$tmp/sharp" || fail "pdftoppm could not render at 300 dpi"
convert "$ref" -colorspace Gray -filter Triangle -resize 312.5% "$tmp/soft.png" || fail "convert could not enlarge $ref"
vector=$(edge_ratio "$tmp/sharp.png")
bitmap=$(edge_ratio "$tmp/soft.png")
echo "paper_match: $chapter page 0 at 300 dpi: half-tone per solid pixel $vector (PDF), $bitmap (enlarged print image)"
awk -v v="$vector" -v t="$max_edge_ratio" 'BEGIN { exit !(v <= t) }' ||
    fail "text edges in the PDF are soft at 300 dpi: $vector > $max_edge_ratio"
awk -v v="$vector" -v b="$bitmap" 'BEGIN { exit !(v * 2 <= b) }' ||
    fail "text edges in the PDF are not sharper than an enlarged print image: $vector vs $bitmap"
echo "paper_match: PASS, $pages_checked pages"
