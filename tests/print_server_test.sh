#!/usr/bin/env bash
# Prints through a real print server: starts a private CUPS server whose only
# queue is a cups-pdf printer, makes it the default, prints page 0 of the
# specimen with pageshot exactly as the print label does and again with the
# specimen viewer's --print 0, and checks that each PDF which comes out is one
# page showing that page; then prints a page of hazel and checks that it goes
# to the printer as text in embedded faces.
#
#   print_server_test.sh PAGESHOT VIEWER
#
# Exit status: 0 passed, 1 failed, 77 skipped (no CUPS server can run here).
# shellcheck disable=SC2016  # ${USER} and ${HOME} in cups-pdf's settings are literal
set -u
export PATH="/usr/sbin:/sbin:$PATH"  # cupsd and lpadmin live in sbin
# shellcheck source=support/private_cups.sh
source "$(dirname "$0")/support/private_cups.sh"

pageshot=${1:?usage: print_server_test.sh PAGESHOT VIEWER}
viewer=${2:?usage: print_server_test.sh PAGESHOT VIEWER}
printer=viewerpdf
min_ncc=0.90       # measured about 0.98 for the right page, under 0.1 for others
max_wait_ticks=90  # half-second polls for the PDF: 45 s

tmp=
cupsd_pid=
pdf_dir=
new_pdfs=()
printed_pdfs=()
made=()  # machine paths that cups-pdf creates when it cannot be kept private

say() { echo "print_server_test: $*"; }

show_logs() {
    [[ -n $tmp && -d $tmp/log ]] || return 0
    local f
    for f in "$tmp"/log/cups-pdf*_log "$tmp/cupsd.out"; do
        [[ -s $f ]] && { echo "--- $f (tail)"; tail -n 20 "$f"; }
    done
    [[ -s $tmp/log/error_log ]] &&
        { echo "--- error_log (tail, without debug lines)"; grep -v '^[Dd] ' "$tmp/log/error_log" | tail -n 30; }
    return 0
}

fail() {
    echo "FAIL: $*" >&2
    show_logs >&2
    exit 1
}

skip() {
    echo "SKIP: $*"
    show_logs
    exit 77
}

# shellcheck disable=SC2317  # reached through the trap
cleanup() {
    if [[ -n $cupsd_pid ]]; then
        kill -TERM "$cupsd_pid" 2>/dev/null
        local i
        for ((i = 0; i < 50; i++)); do
            kill -0 "$cupsd_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$cupsd_pid" 2>/dev/null
        wait "$cupsd_pid" 2>/dev/null
    fi
    # Only when cups-pdf wrote into the machine's own directories: remove what
    # this run made there and nothing else.
    local f
    for f in "${printed_pdfs[@]}" "${new_pdfs[@]}"; do [[ $pdf_dir != "$tmp"/* ]] && rm -f "$f"; done
    for f in "${made[@]}"; do
        if [[ -d $f ]]; then rmdir "$f" 2>/dev/null; else rm -f "$f"; fi
    done
    [[ -n $tmp ]] && rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

command -v cupsd >/dev/null || skip "cupsd is not installed"
# cups-pdf only works when the server runs its backend as root.
[[ $(id -u) == 0 ]] || skip "a CUPS server that can run the cups-pdf backend needs root"
[[ -x $pageshot ]] || fail "pageshot is not at $pageshot"
[[ -x $viewer ]] || fail "the viewer is not at $viewer"
for tool in lpadmin lpinfo lpstat pdfinfo pdftoppm pdftotext pdffonts convert compare identify; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup-debian.sh installs it)"
done

# A Unix-domain socket path must stay short.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/print-server.XXXXXX") || fail "no temporary directory"
if ((${#tmp} > 80)); then
    rm -rf "$tmp"
    tmp=$(mktemp -d /tmp/print-server.XXXXXX) || fail "no temporary directory"
fi
# Filters run as lp and must reach the spool inside.
chmod 755 "$tmp"
mkdir -p "$tmp"/{etc-cups,cups-pdf-spool,pdf,out,home,run} ||
    fail "cannot lay out $tmp"
chmod 700 "$tmp/run"
socket=$tmp/cups.sock

# Every client talks to the private server only, with no per-user options or
# destination chosen by the environment.
export CUPS_SERVER=$socket
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run
unset LPDEST PRINTER CUPS_USER

stderr_lines() { grep -c '^印刷' "$1"; }

# Without a server the click reports once on standard error, and the script
# that asked learns from the exit status that nothing went out.
timeout 30 "$pageshot" specimen "$tmp/out" --send 0 2>"$tmp/noserver.err"
rc=$?
((rc == 1)) || fail "with no print server, pageshot --send 0 exited with $rc: $(cat "$tmp/noserver.err")"
n=$(stderr_lines "$tmp/noserver.err")
((n == 1)) || fail "with no print server, expected one 印刷 line on stderr, got $n: $(cat "$tmp/noserver.err")"
say "no server: $(grep '^印刷' "$tmp/noserver.err")"
# A script that asks the viewer to print learns that nothing went out.
timeout 30 "$viewer" --print 0 2>"$tmp/noserver-viewer.err"
rc=$?
((rc == 1)) || fail "with no print server, the viewer's --print 0 exited with $rc: $(cat "$tmp/noserver-viewer.err")"
n=$(stderr_lines "$tmp/noserver-viewer.err")
((n == 1)) || fail "with no print server, the viewer's --print 0 wrote $n 印刷 lines: $(cat "$tmp/noserver-viewer.err")"

private_cups_conf "$tmp" "$socket" No "LogLevel debug" "PreserveJobFiles Yes" "ErrorPolicy abort-job" ||
    fail "cannot write the server's configuration in $tmp"
# cups-pdf reads its settings from a fixed path in /etc/cups. The server runs
# in its own mount namespace where that directory is this private one, so the
# PDF, cups-pdf's spool and its log stay in here.
cat >"$tmp/etc-cups/cups-pdf.conf" <<EOF
Out $tmp/pdf
AnonDirName $tmp/pdf
Spool $tmp/cups-pdf-spool
GSTmp $tmp/cups-pdf-spool
Log $tmp/log
LogType 7
Grp root
EOF

if [[ -d /etc/cups ]] &&
    unshare -m --propagation private mount --bind "$tmp/etc-cups" /etc/cups 2>/dev/null; then
    pdf_dir=$tmp/pdf
    unshare -m --propagation private \
        sh -c 'mount --bind "$1" /etc/cups && exec cupsd -f -c "$2" -s "$3"' sh \
        "$tmp/etc-cups" "$tmp/conf/cupsd.conf" "$tmp/conf/cups-files.conf" >"$tmp/cupsd.out" 2>&1 &
    cupsd_pid=$!
else
    # No mount namespace here: cups-pdf follows the machine's settings (or
    # its built-in ones), so find where it writes for this user.
    setting() {
        awk -v k="$1" '$1 == k { $1 = ""; sub(/^ +/, ""); v = $0 } END { print v }' \
            /etc/cups/cups-pdf.conf 2>/dev/null
    }
    out=$(setting Out) logdir=$(setting Log) spooldir=$(setting Spool)
    [[ -n $out ]] || out='/var/spool/cups-pdf/${USER}'
    : "${logdir:=/var/log/cups}" "${spooldir:=/var/spool/cups-pdf/SPOOL}"
    user=$(id -un)
    userhome=$(getent passwd "$user" | cut -d: -f6)
    out=${out//'${HOME}'/$userhome}
    pdf_dir=${out//'${USER}'/$user}
    for f in "$pdf_dir" "$spooldir" "$logdir/cups-pdf-${printer}_log"; do
        [[ -e $f ]] || made+=("$f")
    done
    say "no private mount namespace; cups-pdf writes to $pdf_dir"
    cupsd -f -c "$tmp/conf/cupsd.conf" -s "$tmp/conf/cups-files.conf" >"$tmp/cupsd.out" 2>&1 &
    cupsd_pid=$!
fi

private_cups_wait "$cupsd_pid"
case $? in
1) wait "$cupsd_pid"; cupsd_pid=; skip "cupsd refused to start" ;;
2) skip "cupsd did not answer on $socket within 15 s" ;;
esac

backend=/usr/lib/cups/backend/cups-pdf
[[ -e $backend ]] || fail "the cups-pdf backend is missing (printer-driver-cups-pdf)"
ppd=$(lpinfo -m 2>/dev/null | awk '$1 ~ /CUPS-PDF_opt\.ppd$/ { print $1; exit }')
[[ -n $ppd ]] || fail "the server lists no CUPS-PDF_opt.ppd (printer-driver-cups-pdf)"
lpadmin -p "$printer" -E -v cups-pdf:/ -m "$ppd" 2>"$tmp/lpadmin.err" ||
    fail "lpadmin could not add $printer: $(cat "$tmp/lpadmin.err")"
lpadmin -d "$printer" || fail "lpadmin could not make $printer the default"
[[ $(lpstat -d) == *": $printer" ]] || fail "the default destination is not $printer: $(lpstat -d 2>&1)"
say "server on $socket, default printer $printer ($ppd, backend mode $(stat -c %a "$backend"))"

# The image a click on the print label sends, for every page of the specimen.
timeout 30 "$pageshot" specimen "$tmp/out" --print 2>"$tmp/print.err" ||
    fail "pageshot --print failed: $(cat "$tmp/print.err")"
reference=$tmp/out/specimen-p0-print.png
[[ -s $reference ]] || fail "pageshot --print wrote no $reference"

# Helpers of prints_page0: whether a PDF is one the command made, a page
# image trimmed to its ink, and its likeness to the printed page.
is_new() {
    local b
    for b in "${before[@]}"; do [[ $b == "$1" ]] && return 1; done
    return 0
}
trimmed() { convert "$1" -colorspace Gray -fuzz 5% -trim +repage "$2"; }
similarity() {  # REFERENCE-TRIMMED -> NCC of the printed page against it
    local w h
    read -r w h < <(identify -format '%w %h\n' "$1")
    convert "$tmp/printed-trim.png" -resize "${w}x${h}!" -blur 0x1 "$tmp/a.png" &&
        convert "$1" -blur 0x1 "$tmp/b.png" &&
        { compare -metric NCC "$tmp/a.png" "$tmp/b.png" null: 2>&1 || true; } | awk '{ print $1 }'
}

# Runs a command that prints on the default printer and waits for the PDF
# that comes out; sets pdf, and job_file to the document the server received.
#   print_job WHAT COMMAND...
print_job() {
    local what=$1
    shift
    before=()
    [[ -d $pdf_dir ]] && mapfile -t before < <(find "$pdf_dir" -maxdepth 1 -name '*.pdf')

    timeout 30 "$@" 2>"$tmp/send.err"
    rc=$?
    ((rc == 0)) || fail "$what exited with $rc: $(cat "$tmp/send.err")"
    (($(stderr_lines "$tmp/send.err") == 0)) || fail "printing reported: $(grep '^印刷' "$tmp/send.err")"

    # The job was submitted before the command returned; wait until the server has
    # finished it and the PDF is there.
    for ((i = 0; ; i++)); do
        new_pdfs=()
        if [[ -d $pdf_dir ]]; then
            while IFS= read -r f; do is_new "$f" && new_pdfs+=("$f"); done \
                < <(find "$pdf_dir" -maxdepth 1 -name '*.pdf')
        fi
        pending=$(lpstat -o "$printer" 2>/dev/null)
        done_jobs=$(lpstat -W completed -o "$printer" 2>/dev/null)
        if [[ -z $pending && -n $done_jobs ]]; then
            ((${#new_pdfs[@]} > 0)) && break
            fail "the print job of $what ended but no PDF arrived in $pdf_dir"
        fi
        ((i < max_wait_ticks)) || fail "no finished print job and PDF after $((max_wait_ticks / 2)) s (pending: ${pending:-none})"
        sleep 0.5
    done
    ((${#new_pdfs[@]} == 1)) || fail "expected one new PDF from $what, got ${#new_pdfs[@]}: ${new_pdfs[*]}"
    pdf=${new_pdfs[0]}
    printed_pdfs+=("$pdf")
    job_file=$(find "$tmp/spool" -maxdepth 1 -name 'd*-001' -newer "$tmp/send.err" | sort | tail -n 1)
    say "$what: PDF after $((i / 2)).$((i % 2 * 5)) s: $pdf"
}

# Runs a command that prints page 0 of the specimen on the default printer,
# waits for the PDF that comes out and checks that it is one page showing
# that page and no other.
#   prints_page0 WHAT COMMAND...
prints_page0() {
    local what=$1
    print_job "$@"

    pages=$(pdfinfo "$pdf" 2>&1 | awk '$1 == "Pages:" { print $2 }')
    [[ $pages == 1 ]] || fail "the PDF has ${pages:-no readable} pages, expected 1: $(pdfinfo "$pdf" 2>&1)"

    # Render at the canvas's own 96 dpi, keep only what was drawn, and bring the
    # rendering to the size of the drawn part of the image sent.
    pdftoppm -r 96 -gray -png -singlefile "$pdf" "$tmp/printed" || fail "pdftoppm could not render $pdf"
    trimmed "$tmp/printed.png" "$tmp/printed-trim.png" || fail "convert could not trim the rendering"
    trimmed "$reference" "$tmp/ref-trim.png" || fail "convert could not trim $reference"
    read -r pw ph pink < <(identify -format '%w %h %[fx:1-mean]\n' "$tmp/printed-trim.png")
    read -r rw rh < <(identify -format '%w %h\n' "$tmp/ref-trim.png")
    say "drawn part: printed ${pw}x${ph} at 96 dpi, sent image ${rw}x${rh}; ink $(printf %.3f "$pink")"
    awk -v w="$pw" -v h="$ph" -v rw="$rw" -v rh="$rh" -v ink="$pink" \
        'BEGIN { exit !(w * 2 >= rw && h * 2 >= rh && ink > 0.01) }' ||
        fail "the printed page is blank or nearly so"
    # A page cut off at the paper's edge, or stretched, changes its shape.
    awk -v a="$pw" -v b="$ph" -v c="$rw" -v d="$rh" 'BEGIN { r = (a / b) / (c / d); exit !(r > 0.97 && r < 1.03) }' ||
        fail "the printed page's shape ${pw}x${ph} does not match the image's ${rw}x${rh}"

    # Normalised cross-correlation after a slight blur, which absorbs the
    # sub-pixel shift and resampling of the print path.
    ncc=$(similarity "$tmp/ref-trim.png")
    [[ $ncc =~ ^-?[0-9.]+(e-?[0-9]+)?$ ]] || fail "compare gave no similarity: $ncc"
    say "similarity to page 0 (NCC): $ncc (threshold $min_ncc)"

    # The measure must tell pages apart: every other page of the specimen must
    # match the printed one clearly worse.
    for other in "$tmp"/out/specimen-p*-print.png; do
        [[ $other == "$reference" ]] && continue
        trimmed "$other" "$tmp/other-trim.png" || fail "convert could not trim $other"
        o=$(similarity "$tmp/other-trim.png")
        say "similarity to $(basename "$other" -print.png) (NCC): $o"
        awk -v a="$ncc" -v b="$o" 'BEGIN { exit !(a - b >= 0.3) }' ||
            fail "the printed page matches $(basename "$other") nearly as well ($o) as page 0 ($ncc)"
    done

    awk -v a="$ncc" -v t="$min_ncc" 'BEGIN { exit !(a >= t) }' ||
        fail "the page $what printed does not show page 0: NCC $ncc < $min_ncc"
    say "$what: one-page PDF matching page 0"
}

prints_page0 "pageshot --send 0" "$pageshot" specimen "$tmp/out" --send 0
prints_page0 "specimen --print 0" "$viewer" --print 0

# The page goes to the printer as text, not as a picture of text: a page of
# hazel gives back its heading and its numbers, in the substitute faces,
# embedded. This printer turns the document into PostScript and back at
# PDF 1.2, which makes every embedded font anonymous Type 3 glyphs without
# text, whatever was sent; so the text is read from the document the server
# received for the job.
print_job "pageshot hazel --send 1" "$pageshot" hazel "$tmp/out" --send 1
[[ -s $job_file ]] || fail "the server kept no document for the hazel job"
# The PDF writer maps a glyph that a CJK radical shares with an ideograph to
# the radical's code point (U+2F50 for 比); read it as the ideograph.
text=$(pdftotext "$job_file" - 2>&1 | sed 's/⽐/比/g')
for want in "誤差を比較する" "1.26606" "1.13021"; do
    [[ $text == *"$want"* ]] || fail "the printed hazel page 1 has no text \"$want\": ${text:0:400}"
done
fonts=$(pdffonts "$job_file" 2>&1)
for face in NotoSansCJKjp LiberationSerif; do
    awk -v f="$face" 'index($1, f) && $(NF - 4) == "yes" { found = 1 } END { exit !found }' <<<"$fonts" ||
        fail "the printed hazel page 1 does not embed $face: $fonts"
done
say "hazel page 1 on paper: text and embedded faces found ($(awk 'NR > 2 { printf "%s ", $1 }' <<<"$fonts"))"
say "PASS: one-page PDFs matching page 0, and text"
exit 0
