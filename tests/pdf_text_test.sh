#!/usr/bin/env bash
# Every chapter's PDF, as pageshot --pdf writes it (the viewers' --pdf),
# through pdf_text_check.py: the text layer as pdftotext reads it, the
# outline, the language and the fonts.
#
#   pdf_text_test.sh PAGESHOT [CHAPTER...]
#
# Exit status: 0 passed, 1 failed.
set -u

pageshot=${1:?usage: pdf_text_test.sh PAGESHOT [CHAPTER...]}
shift
check=$(dirname "$0")/pdf_text_check.py
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in pdftotext pdfinfo pdffonts pdfimages qpdf /usr/bin/python3; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup-debian.sh installs it)"
done
[[ -x $pageshot ]] || fail "pageshot is not at $pageshot"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/pdf-text.XXXXXX") || fail "no temporary directory"
trap 'rm -rf "$tmp"' EXIT

chapters=("$@")
if ((${#chapters[@]} == 0)); then
    read -r -a chapters < <("$pageshot" 2>&1 | sed -n 's/^chapters: //p')
fi
((${#chapters[@]} > 0)) || fail "pageshot lists no chapters"

failed=0
checked=0
for chapter in "${chapters[@]}"; do
    [[ $chapter == specimen ]] && continue  # the test chapter is no handout
    out=$tmp/$chapter
    timeout 120 "$pageshot" "$chapter" "$out" --list --pdf 2>"$tmp/err" ||
        fail "pageshot $chapter --list --pdf failed: $(cat "$tmp/err")"
    /usr/bin/python3 "$check" "$out/$chapter.pdf" "$chapter" "$out" || failed=1
    checked=$((checked + 1))
done
((failed == 0)) || exit 1
((checked > 0)) || fail "no chapter was checked"
echo "pdf_text: PASS, $checked chapters"
