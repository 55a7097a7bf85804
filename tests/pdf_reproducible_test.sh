#!/usr/bin/env bash
# A viewer's --pdf with SOURCE_DATE_EPOCH set: two runs give the same bytes,
# dated at that time.
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
echo "pdf_reproducible: PASS"
