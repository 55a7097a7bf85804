#!/usr/bin/env bash
# A viewer asked to write where writing goes wrong: a device node, a FIFO, a
# link another user planted in a shared sticky folder, a full disk, a
# read-only folder, a standard output that fails, options that are missing
# their value. Each must end with the right status and one true line, and
# leave what stood at the path as it was (same type, same contents).
#
# It runs in a private mount namespace, on small tmpfs mounts of its own, so
# that no real device or file is ever at stake; once as root and once as an
# unprivileged user (nobody, through setpriv).
#
#   safe_write_test.sh VIEWER
#
# Exit status: 0 passed, 1 failed, 77 skipped (not root, or no namespaces).
set -u
viewer=$(realpath "$1")
name=$(basename "$viewer")

if [[ ${SAFE_WRITE_INSIDE:-} != 1 ]]; then
    (($(id -u) == 0)) || { echo "SKIP: a private mount namespace needs root"; exit 77; }
    unshare -m --propagation private true 2>/dev/null ||
        { echo "SKIP: no private mount namespace can be made here"; exit 77; }
    exec unshare -m --propagation private env SAFE_WRITE_INSIDE=1 bash "$0" "$@"
fi

failures=0
fail() { echo "FAIL ($who): $*" >&2; failures=$((failures + 1)); }
ok() { echo "ok ($who): $*"; }

root=$(mktemp -d) || exit 1
mount -t tmpfs -o size=16m,mode=0755 tmpfs "$root" || { echo "SKIP: tmpfs cannot be mounted"; exit 77; }
trap 'umount -R "$root" 2>/dev/null; rmdir "$root"' EXIT
# The shared folder stands for /tmp: sticky and world-writable, root's.
mkdir -m 1777 "$root/shared"
planter=4242  # a third user, neither root nor nobody

as() {
    if [[ $who == root ]]; then "$@"; else setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; fi
}

# run ARGS...: the viewer in folder $d, with its standard output in $d/out
# and its error in $d/err; sets rc.
run() {
    (cd "$d" && as env -u DISPLAY QT_QPA_PLATFORM=offscreen HOME="$d/home" XDG_CONFIG_HOME="$d/home/config" \
        XDG_CACHE_HOME="$d/home/cache" XDG_RUNTIME_DIR="$d/home/run" \
        timeout 120 "$viewer" "$@" >"$d/out" 2>"$d/err")
    rc=$?
}

# expect_refusal STATUS WORDS ARGS...: status STATUS and exactly one line on
# standard error, containing WORDS.
expect_refusal() {
    local status=$1 words=$2
    shift 2
    run "$@"
    local what="$name $*"
    ((rc == status)) || { fail "$what: status $rc, not $status: $(cat "$d/err")"; return 1; }
    [[ $(wc -l <"$d/err") == 1 ]] || { fail "$what: not one line: $(cat "$d/err")"; return 1; }
    grep -qF -- "$words" "$d/err" || { fail "$what: \"$(cat "$d/err")\" does not say \"$words\""; return 1; }
    ok "$what: status $status, $(cat "$d/err")"
}

cases() {
    d=$root/$who
    mkdir -p "$d/home/run"
    chmod 0700 "$d/home/run"
    [[ $who == root ]] || chown -R 65534:65534 "$d"

    # A device node and a FIFO stay what they are.
    mknod "$d/null" c 1 3
    mkfifo "$d/fifo"
    expect_refusal 1 "cannot write $d/null (a character device, not a regular file)" --pdf "$d/null"
    [[ -c $d/null && $(stat -c %t:%T "$d/null") == 1:3 ]] || fail "the device node was replaced"
    expect_refusal 1 "cannot write $d/fifo (a FIFO, not a regular file)" --pdf "$d/fifo"
    [[ -p $d/fifo ]] || fail "the FIFO was replaced"

    # A full disk: the system's words, the old file whole, nothing beside it.
    mkdir "$d/tiny"
    mount -t tmpfs -o size=32k tmpfs "$d/tiny"
    [[ $who == root ]] || chown 65534:65534 "$d/tiny"
    echo "the old handout" >"$d/tiny/new.pdf"
    [[ $who == root ]] || chown 65534:65534 "$d/tiny/new.pdf"
    expect_refusal 1 "cannot write $d/tiny/new.pdf (No space left on device)" --pdf "$d/tiny/new.pdf"
    [[ $(cat "$d/tiny/new.pdf") == "the old handout" ]] || fail "the old file on the full disk changed"
    [[ $(ls -A "$d/tiny") == new.pdf ]] || fail "the full disk holds more than the old file: $(ls -A "$d/tiny")"

    # A link a third user planted in the shared folder, to a file of this
    # user's kept private: refused, the file unchanged.
    echo "private" >"$d/secret"
    chmod 0600 "$d/secret"
    [[ $who == root ]] || chown 65534:65534 "$d/secret"
    ln -s "$d/secret" "$root/shared/$who-handout.pdf"
    chown -h "$planter:$planter" "$root/shared/$who-handout.pdf"
    expect_refusal 1 "a link another user put in a shared folder; it is not followed" \
        --pdf "$root/shared/$who-handout.pdf"
    [[ $(cat "$d/secret") == private && $(stat -c %a "$d/secret") == 600 ]] || fail "the link's target changed"
    # A link of the user's own there is followed, as the kernel would.
    ln -s "$d/own.pdf" "$root/shared/$who-own.pdf"
    [[ $who == root ]] || chown -h 65534:65534 "$root/shared/$who-own.pdf"
    run --pdf "$root/shared/$who-own.pdf"
    if ((rc == 0)) && [[ -L $root/shared/$who-own.pdf && $(head -c 5 "$d/own.pdf") == %PDF- ]]; then
        ok "a link of the user's own in the shared folder leads to the file it names"
    else
        fail "a link of the user's own: status $rc: $(cat "$d/err")"
    fi

    # A folder that cannot be written: read-only for root, without the write
    # bit for anyone else.
    mkdir "$d/locked"
    if [[ $who == root ]]; then
        mount -t tmpfs -o size=1m,ro tmpfs "$d/locked"
        expect_refusal 1 "cannot write $d/locked/h.pdf (Read-only file system)" --pdf "$d/locked/h.pdf"
    else
        chown 65534:65534 "$d/locked"
        chmod 0555 "$d/locked"
        expect_refusal 1 "cannot write $d/locked/h.pdf (Permission denied)" --pdf "$d/locked/h.pdf"
    fi
    [[ -z $(ls -A "$d/locked") ]] || fail "the locked folder holds $(ls -A "$d/locked")"

    # A file replaced keeps its mode; "-" is standard output.
    echo "old" >"$d/kept.pdf"
    chmod 0640 "$d/kept.pdf"
    [[ $who == root ]] || chown 65534:65534 "$d/kept.pdf"
    run --pdf "$d/kept.pdf"
    [[ $rc == 0 && $(stat -c %a "$d/kept.pdf") == 640 && $(head -c 5 "$d/kept.pdf") == %PDF- ]] &&
        ok "a file replaced keeps its mode" || fail "replacing a file: status $rc, mode $(stat -c %a "$d/kept.pdf")"
    run --pdf -
    [[ $rc == 0 && $(head -c 5 "$d/out") == %PDF- && ! -e $d/- ]] &&
        ok "--pdf - writes the PDF to standard output" || fail "--pdf -: status $rc: $(cat "$d/err")"

    # Options: a value that is an option, an unknown one without a display,
    # standard output that fails.
    expect_refusal 2 "--pdf needs a value; \"--text\" is an option" --pdf --text
    [[ ! -e $d/--text ]] || fail "a file named --text was written"
    expect_refusal 2 "Unknown option 'frobnicate'" -frobnicate
    (cd "$d" && as env -u DISPLAY "$viewer" --help >/dev/full 2>"$d/err")
    rc=$?
    ((rc == 1)) && [[ $(wc -l <"$d/err") == 1 ]] && ok "--help to a full disk: status 1, $(cat "$d/err")" ||
        fail "--help >/dev/full: status $rc: $(cat "$d/err")"
    # A pipe whose reader has gone: a failed write, not a silent death.
    as env -u DISPLAY QT_QPA_PLATFORM=offscreen HOME="$d/home" XDG_RUNTIME_DIR="$d/home/run" python3 -c '
import os, subprocess, sys
r, w = os.pipe()
os.close(r)
p = subprocess.run([sys.argv[1], "--text"], stdout=w, stderr=subprocess.PIPE, timeout=120)
sys.stderr.write(p.stderr.decode())
sys.exit(p.returncode)' "$viewer" 2>"$d/err"
    rc=$?
    ((rc == 1)) && [[ $(wc -l <"$d/err") == 1 ]] && grep -q "Broken pipe" "$d/err" &&
        ok "--text to a closed pipe: status 1, $(cat "$d/err")" || fail "--text to a closed pipe: status $rc: $(cat "$d/err")"
}

who=root
mkdir "$root/root"
cases
who=nobody
mkdir "$root/nobody"
if setpriv --reuid=65534 --regid=65534 --clear-groups -- test -x "$viewer"; then
    cases
else
    echo "note: nobody cannot run $viewer here; the unprivileged half is left out"
fi
((failures == 0)) || { echo "$failures failed"; exit 1; }
echo "every refusal held"
