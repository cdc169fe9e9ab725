#!/bin/bash
# The install layout: `cmake --install` into a temporary prefix gives exactly the
# files of tests/data/install/layout.txt; the desktop entry passes
# desktop-file-validate and the metainfo `appstreamcli validate --no-net`; both
# and the program itself use the one application id; each PNG icon has the size
# of its folder; the manual pages are gzip files that man formats without a
# warning.
# Usage: bash installLayout_test.sh <build-folder>
set -u
build=${1:?usage: installLayout_test.sh <build-folder>}
here=$(cd "$(dirname "$0")" && pwd)
id=io.github.magnatool.Magna

for tool in desktop-file-validate appstreamcli identify man; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
}

(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$work/layout.txt"
diff -u "$here/../data/install/layout.txt" "$work/layout.txt" || fail "installed files differ from layout.txt"

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.txt" 2>&1 || {
  cat "$work/appstream.txt"
  fail "appstreamcli validate"
}

grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx "Categories=Utility;TextTools;" "$desktop" || fail "categories"
for key in 'Name' 'Name\[ja\]' 'Comment' 'Comment\[ja\]'; do
  grep -q "^$key=" "$desktop" || fail "the desktop entry has no $key"
done
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
# The program's desktop file name is a UTF-16 string literal in it.
strings -el "$prefix/bin/magna" | grep -qx "$id" || fail "the program does not name itself $id"

for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  got=$(identify -format '%wx%h' "$png" 2>/dev/null)
  [ "$got" = "${size}x${size}" ] || fail "$png is $got"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is no SVG"

# As lintian checks them; CJK text has no break points for groff, which it says
# of long Japanese lines only.
for page in "$prefix/share/man/man1/magna.1.gz" "$prefix/share/man/ja/man1/magna.1.gz"; do
  gzip -t "$page" || fail "$page is no gzip file"
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null |
    grep -v "can't break line\|cannot adjust line" >"$work/man.txt"
  [ -s "$work/man.txt" ] && { cat "$work/man.txt"; fail "man warns about $page"; }
done
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man1/magna.1.gz" 2>/dev/null |
  grep -q -- '--file=PATH' || fail "the manual page does not describe --file"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: the installed layout, desktop entry, metainfo, icons and manual pages"
