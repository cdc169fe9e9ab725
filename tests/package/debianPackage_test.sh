#!/bin/bash
# The Debian package as a user gets it: a release build of the program alone
# (its own build folder; ccache makes a repeated build cheap), `cpack -G DEB`,
# then the package's control data (dependencies found by dpkg-shlibdeps), its
# files, lintian (no error, and no warning beyond the list below), apt's own
# check that it would install here, and the packaged program answering
# --version and --help without a display.
# Usage: bash debianPackage_test.sh <source-folder> <build-folder> <version>
set -u
usage="usage: debianPackage_test.sh <source-folder> <build-folder> <version>"
source_dir=${1:?$usage}
build=${2:?$usage}
version=${3:?$usage}

# Warnings lintian may give and why they stay (none at present).
allowed_warnings=()

for tool in cpack dpkg-deb dpkg-shlibdeps lintian apt-get file; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
step() {  # runs a command, its output kept for a failure
  "$@" >"$work/step.log" 2>&1 || {
    tail -30 "$work/step.log"
    echo "FAIL: $*"
    exit 1
  }
}

step cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DMAGNA_BUILD_TESTS=OFF -DMAGNA_HARDENING=ON
step cmake --build "$build" -j2
rm -f "$build"/magna_*.deb
(cd "$build" && step cpack -G DEB)
deb=$(ls "$build"/magna_*_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: cpack made no magna_*.deb"; exit 1; }
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libicu72 libuchardet0 libc6; do
  [[ ", $depends" == *", $library "* || ", $depends," == *", $library,"* ]] ||
    fail "Depends lacks $library"
done
[ "$(dpkg-deb -f "$deb" Package)" = magna ] || fail "the package is not named magna"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' | grep -v '/$' | LC_ALL=C sort >"$work/files.txt"
sed 's|^|usr/|' "$source_dir/tests/data/install/layout.txt" | LC_ALL=C sort >"$work/expected.txt"
diff -u "$work/expected.txt" "$work/files.txt" || fail "the package's files differ from the install layout"

lintian --fail-on error --display-info "$deb" >"$work/lintian.txt" 2>&1
lintian_status=$?
echo "lintian says:"
sed 's/^/  /' "$work/lintian.txt"
[ $lintian_status -eq 0 ] || fail "lintian found errors"
while read -r line; do
  tag=$(echo "$line" | awk '{print $3}')
  [[ " ${allowed_warnings[*]:-} " == *" $tag "* ]] || fail "lintian warning not accepted: $line"
done < <(grep '^W: ' "$work/lintian.txt")

# apt's resolver on this machine, without installing anything.
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.txt" 2>&1 || {
  cat "$work/apt.txt"
  fail "apt would not install the package"
}

dpkg-deb -x "$deb" "$work/root"
packaged=$work/root/usr/bin/magna
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$packaged" --version 2>&1)
[ "$(echo "$out" | head -1)" = "Magna $version" ] || fail "the packaged program's --version said: $out"
env -u DISPLAY -u WAYLAND_DISPLAY "$packaged" --help >/dev/null 2>&1 || fail "--help of the packaged program"
file "$packaged" | grep -q 'stripped' || fail "the packaged program is not stripped"
file "$packaged" | grep -q 'not stripped' && fail "the packaged program is not stripped"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: $(basename "$deb") is lintian clean, installable here and runs"
