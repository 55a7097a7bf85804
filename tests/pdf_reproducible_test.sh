#!/usr/bin/env bash
# A viewer's --pdf with SOURCE_DATE_EPOCH set: two runs give the same bytes,
# dated at that time; so do two of its four-up handout, which has a sheet
# for every four pages, and passes the checks of a chapter PDF.
#
#   pdf_reproducible_test.sh VIEWER
#
# Exit status: 0 passed, 1 failed.
set -u
viewer=${1:?usage: pdf_reproducible_test.sh VIEWER}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
command -v pdfinfo >/dev/null || fail "pdfinfo is missing (tools/setup-debian.sh installs it)"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/pdf-repro.XXXXXX") || fail "no temporary directory"
trap 'rm -rf "$tmp"' EXIT
export SOURCE_DATE_EPOCH=1700000000 QT_QPA_PLATFORM=offscreen
for n in 1 2; do
    timeout 120 "$viewer" --pdf "$tmp/$n.pdf" 2>"$tmp/err" || fail "$viewer --pdf failed: $(cat "$tmp/err")"
    # Apart in time, as two builds would be.
    [[ $n == 1 ]] && sleep 1.1
done
cmp -s "$tmp/1.pdf" "$tmp/2.pdf" || fail "two runs gave different files"
TZ=UTC pdfinfo "$tmp/1.pdf" | grep -q "^CreationDate: .*Nov 14 22:13:20 2023" ||
    fail "the creation date is not SOURCE_DATE_EPOCH's: $(pdfinfo "$tmp/1.pdf" | grep CreationDate)"
for n in 1 2; do
    timeout 120 "$viewer" --pdf "$tmp/4up-$n.pdf" --handout 4 2>"$tmp/err" ||
        fail "$viewer --pdf --handout 4 failed: $(cat "$tmp/err")"
done
cmp -s "$tmp/4up-1.pdf" "$tmp/4up-2.pdf" || fail "two runs gave different handouts"
pages=$(pdfinfo "$tmp/1.pdf" | sed -n 's/^Pages: *//p')
sheets=$(pdfinfo "$tmp/4up-1.pdf" | sed -n 's/^Pages: *//p')
((sheets == (pages + 3) / 4)) || fail "$pages pages four to a sheet made $sheets sheets"
# Its text, tags, fonts and outline as a chapter PDF's must be.
/usr/bin/python3 "$(dirname "$0")/pdf_text_check.py" --per-sheet 4 "$tmp/4up-1.pdf" "$(basename "$viewer")" ||
    fail "the handout fails the chapter PDF's checks"
echo "pdf_reproducible: PASS"
