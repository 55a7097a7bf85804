#!/usr/bin/env bash
# Builds the Debian package from the build, has lintian judge it, unpacks it
# into a temporary root and runs what it installed there: every viewer's
# --version, --help and --print with no printer, and man on every manual page.
#
#   package_test.sh CPACK BUILD_DIR VERSION VIEWER...
#
# Exit status: 0 passed, 1 failed.
set -u
cpack=${1:?usage: package_test.sh CPACK BUILD_DIR VERSION VIEWER...}
build=${2:?}
version=${3:?}
shift 3
viewers=("$@")
((${#viewers[@]} > 0)) || { echo "FAIL: no viewers named" >&2; exit 1; }
# The chapters whose F1 skips paced drawing; only their pages list F1.
f1_viewers=" alder cedar "
# lintian's only overrides, each for a tag that does not apply to this package.
allowed_overrides="initial-upload-closes-no-bugs"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in lintian dpkg-deb man; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup-debian.sh installs it)" >&2; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/package-test.XXXXXX") || { echo "FAIL: no temporary directory" >&2; exit 1; }
trap 'rm -rf "$tmp"' EXIT

# The package and cpack's staging tree go to the temporary folder, not into
# the build.
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; echo "FAIL: cpack failed" >&2; exit 1; }
debs=("$tmp"/pkg/*.deb)
((${#debs[@]} == 1)) && [[ -f ${debs[0]} ]] ||
    { cat "$tmp/cpack.log" >&2; echo "FAIL: cpack made ${#debs[@]} packages, not one" >&2; exit 1; }
deb=${debs[0]}

# Any error or warning fails, and so does an override of a tag not known to
# be beside the point here.
allow_root=()
[[ $(id -u) == 0 ]] && allow_root=(--allow-root)
lintian "${allow_root[@]}" --show-overrides "$deb" >"$tmp/lintian.out" 2>"$tmp/lintian.err"
rc=$?
((rc == 0)) || fail "lintian exited with $rc: $(cat "$tmp/lintian.out" "$tmp/lintian.err")"
grep '^[EW]: ' "$tmp/lintian.out" >&2 && fail "lintian reports errors or warnings"
while read -r tag; do
    [[ " $allowed_overrides " == *" $tag "* ]] || fail "lintian override of $tag"
done < <(sed -n 's/^O: [^:]*: \([^ ]*\).*/\1/p' "$tmp/lintian.out")
[[ -s $tmp/lintian.err ]] && fail "lintian said on standard error: $(cat "$tmp/lintian.err")"

root=$tmp/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x failed" >&2; exit 1; }

expected=$(printf '%s\n' "${viewers[@]}" | sort)
actual=$(find "$root/usr/bin" -mindepth 1 -printf '%f\n' 2>/dev/null | sort)
[[ $actual == "$expected" ]] || fail "usr/bin holds [${actual//$'\n'/ }], expected [${expected//$'\n'/ }]"
pages=$(find "$root/usr/share/man" -type f -printf '%P\n' 2>/dev/null | sort)
expected_pages=$(printf 'man1/%s.1.gz\n' "${viewers[@]}" | sort)
[[ $pages == "$expected_pages" ]] || fail "usr/share/man holds [${pages//$'\n'/ }], expected [${expected_pages//$'\n'/ }]"

# No printer: a print server that is not there, and no user settings naming
# one.
mkdir -p "$tmp/home" && mkdir -m 700 "$tmp/run"
run() {
    env -i PATH="$PATH" HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 \
        QT_QPA_PLATFORM=offscreen CUPS_SERVER="$tmp/no-cups.sock" \
        timeout 120 "$@" >"$tmp/out" 2>"$tmp/err"
}

for v in "${viewers[@]}"; do
    bin=$root/usr/bin/$v
    [[ -x $bin ]] || continue

    run "$bin" --version
    rc=$?
    [[ $rc == 0 && $(cat "$tmp/out") == "$v $version" && ! -s $tmp/err ]] ||
        fail "$v --version: status $rc, said [$(cat "$tmp/out" "$tmp/err")], expected [$v $version]"

    run "$bin" --help
    rc=$?
    help=$(cat "$tmp/out")
    [[ $rc == 0 && $(head -n1 <<<"$help") == "Usage: $v [options]" && $help == *"--print <N>"* && ! -s $tmp/err ]] ||
        fail "$v --help: status $rc, said [$(cat "$tmp/out" "$tmp/err")]"
    # The second line of help is the chapter's title, the third its pages.
    title=$(sed -n 2p <<<"$help")
    last=$(sed -n 's/^Pages 0 to \([0-9]*\):.*/\1/p' <<<"$help")

    # Its PDF, through the writer's module from the package's library folder;
    # only then are the PDF libraries loaded.
    run "$bin" --pdf "$tmp/$v.pdf" --handout 2
    rc=$?
    [[ $rc == 0 && -s $tmp/$v.pdf && ! -s $tmp/err ]] || fail "$v --pdf: status $rc, said [$(cat "$tmp/out" "$tmp/err")]"
    linked=$(ldd "$bin" | grep -E -o 'lib(cairo|qpdf|harfbuzz-subset|gnutls|pixman)[^ ]*' | tr '\n' ' ')
    [[ -z $linked ]] || fail "$v loads the PDF writer's libraries at start-up: $linked"

    run "$bin" --print 0
    rc=$?
    lines=$(wc -l <"$tmp/err")
    [[ $rc == 1 && $lines == 1 && ! -s $tmp/out ]] && grep -q 'no default printer' "$tmp/err" ||
        fail "$v --print 0 with no printer: status $rc, $lines lines: $(cat "$tmp/out" "$tmp/err")"

    page=$root/usr/share/man/man1/$v.1.gz
    [[ -f $page ]] || continue
    LC_ALL=C.UTF-8 MANWIDTH=80 man -P cat --warnings -E UTF-8 -l "$page" >"$tmp/man.out" 2>"$tmp/man.err"
    rc=$?
    [[ $rc == 0 && ! -s $tmp/man.err ]] || fail "man -l $v.1.gz: status $rc: $(cat "$tmp/man.err")"
    grep -qE "^ *$v +- " "$tmp/man.out" || fail "man -l $v.1.gz has no NAME line for $v"
    for section in SYNOPSIS DESCRIPTION KEYS OPTIONS "EXIT STATUS" FILES; do
        grep -qx "$section" "$tmp/man.out" || fail "man -l $v.1.gz has no section $section"
    done
    for option in --help --version "--page N" "--print N" "--zoom PERCENT" --fullscreen "--pdf FILE"; do
        grep -qE -- "^ *(-[a-z], )?$option\$" "$tmp/man.out" || fail "man -l $v.1.gz does not list $option"
    done
    # The page states the chapter as the program itself does: the title and
    # the last page (in the roff source, where no line is broken).
    source=$(zcat "$page" | sed 's/\\[:&]//g')
    [[ -n $title && $source == *"\\(lq$title\\(rq"* ]] ||
        fail "$v.1.gz does not name the chapter [$title]"
    [[ -n $last && $source == *"Goes to the last page, $last."* ]] ||
        fail "$v.1.gz does not give the last page [$last]"
    if [[ $f1_viewers == *" $v "* ]]; then
        grep -qx ' *F1 .*' "$tmp/man.out" || fail "man -l $v.1.gz does not list F1"
    else
        grep -qw 'F1' "$tmp/man.out" && fail "man -l $v.1.gz lists F1, which does nothing in $v"
    fi
done

((failures == 0)) || exit 1
echo "package_test: PASS ($(basename "$deb"), ${#viewers[@]} viewers)"
