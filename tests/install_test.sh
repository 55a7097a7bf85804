#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree: every
# viewer in bin/ and nothing else, each with a valid menu entry, its icon,
# valid AppStream metainfo and its manual page, and the installed program runs
# (hazel writes its PDF handout).
#
#   install_test.sh CMAKE BUILD_DIR APP_ID_PREFIX VIEWER...
#
# Exit status: 0 passed, 1 failed.
set -u
cmake=${1:?usage: install_test.sh CMAKE BUILD_DIR APP_ID_PREFIX VIEWER...}
build=${2:?}
prefix_id=${3:?}
shift 3
viewers=("$@")
((${#viewers[@]} > 0)) || { echo "FAIL: no viewers named" >&2; exit 1; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup-debian.sh installs it)" >&2; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/install-test.XXXXXX") || { echo "FAIL: no temporary directory" >&2; exit 1; }
# A viewer remembers where the reader left it: each run here starts afresh.
export XDG_CONFIG_HOME=$tmp/config
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root

"$cmake" --install "$build" --prefix "$root" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }

# bin/ holds the viewers and nothing else (no test chapter, no tools).
expected=$(printf '%s\n' "${viewers[@]}" | sort)
actual=$(find "$root/bin" -mindepth 1 -printf '%f\n' 2>/dev/null | sort)
[[ $actual == "$expected" ]] || fail "bin/ holds [${actual//$'\n'/ }], expected [${expected//$'\n'/ }]"

apps=$root/share/applications
icons=$root/share/icons/hicolor/scalable/apps
meta=$root/share/metainfo
for v in "${viewers[@]}"; do
    id=$prefix_id.$v
    [[ -x $root/bin/$v ]] || fail "$v is not installed as an executable in bin/"
    desktop=$apps/$id.desktop
    if [[ -f $desktop ]]; then
        # Hints are not faults: the categories asked for (Education, Science)
        # are two main categories, which earns one.
        out=$(desktop-file-validate "$desktop" 2>&1)
        rc=$?
        problems=$(grep -v ': hint: ' <<<"$out")
        if ((rc != 0)) || [[ -n $problems ]]; then fail "desktop-file-validate $id.desktop: $out"; fi
        grep -qx "Exec=$v" "$desktop" || fail "$id.desktop does not start $v"
        grep -qx "Icon=$id" "$desktop" || fail "$id.desktop does not name the icon $id"
        grep -qx "Categories=Education;Science;Math;" "$desktop" || fail "$id.desktop has other categories"
        grep -q '^Name\[ja\]=.' "$desktop" || fail "$id.desktop has no Japanese name"
        grep -q '^Comment=.' "$desktop" || fail "$id.desktop has no comment"
    else
        fail "no menu entry $desktop"
    fi
    icon=$icons/$id.svg
    if [[ -s $icon ]]; then
        grep -q '<svg' "$icon" || fail "$icon is not an SVG"
    else
        fail "no icon $icon"
    fi
    metainfo=$meta/$id.metainfo.xml
    if [[ -f $metainfo ]]; then
        appstreamcli validate --no-net --pedantic "$metainfo" >"$tmp/validate.out" 2>&1 ||
            fail "appstreamcli validate $id.metainfo.xml: $(cat "$tmp/validate.out")"
    else
        fail "no metainfo $metainfo"
    fi
    [[ -s $root/share/man/man1/$v.1.gz ]] || fail "no manual page share/man/man1/$v.1.gz"
    # The installed program runs (no path back into the build tree).
    version=$("$root/bin/$v" --version 2>&1)
    [[ $version =~ ^$v\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "$v --version from the installed tree said: $version"
done

# The PDF writer is a module in the package's library folder: no viewer
# links its libraries (cairo, qpdf, HarfBuzz's subsetter) at start-up.
module=$(find "$root/lib" -path '*/course-viewers/modules/courseviewers-pdf.so' 2>/dev/null)
[[ -f $module ]] || fail "no PDF writer's module lib/.../course-viewers/modules/courseviewers-pdf.so"
for v in "${viewers[@]}"; do
    linked=$(ldd "$root/bin/$v" | grep -E -o 'lib(cairo|qpdf|harfbuzz-subset|gnutls|pixman)[^ ]*' | tr '\n' ' ')
    [[ -z $linked ]] || fail "$v loads the PDF writer's libraries at start-up: $linked"
done

# The installed hazel writes its handout with no display, and it reads as
# the chapter's PDF must.
if [[ " ${viewers[*]} " == *" hazel "* ]]; then
    pdf=$tmp/handout/hazel.pdf
    mkdir -p "$tmp/handout"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$tmp" \
        timeout 120 "$root/bin/hazel" --pdf "$pdf" >"$tmp/pdf.out" 2>&1
    rc=$?
    if ((rc != 0)) || [[ -s $tmp/pdf.out ]]; then
        fail "the installed hazel --pdf: status $rc, said [$(cat "$tmp/pdf.out")]"
    elif [[ $(find "$tmp/handout" -mindepth 1 -printf '%f\n') != hazel.pdf ]]; then
        fail "hazel --pdf left [$(find "$tmp/handout" -mindepth 1 -printf '%f ')], not hazel.pdf alone"
    else
        /usr/bin/python3 "$(dirname "$0")/pdf_text_check.py" "$pdf" hazel || fail "the installed hazel's PDF"
    fi
fi

# The tree as a whole: every component's launchable entry and icon are found.
appstreamcli validate-tree --no-net "$root" >"$tmp/tree.out" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$tmp/tree.out")"

((failures == 0)) || exit 1
echo "install_test: PASS (${#viewers[@]} viewers)"
