#!/bin/bash
# End-to-end: where the settings go. The program is installed with
# `cmake --install` into a temporary prefix that is then made read-only: that
# copy keeps its settings in $XDG_CONFIG_HOME/magna/magna.ini (folder mode 0700)
# across two runs and never beside itself. A portable copy in a folder the user
# may write keeps them beside itself across two runs and leaves the
# configuration folder alone. The font grows by the toolbar's size-up button;
# Alt+F4 closes the window, which saves. Root may write anywhere, so as root the
# program runs as the unprivileged user nobody. Only processes started here are
# stopped.
# Usage: bash installedSettings_test.sh <path-to-magna> <build-folder>
set -u
magna=${1:?usage: installedSettings_test.sh <path-to-magna> <build-folder>}
export MAGNA_E2E_BUILD=${MAGNA_E2E_BUILD:-${2:?usage: installedSettings_test.sh <path-to-magna> <build-folder>}}

source "$(dirname "$0")/xvfbSession.sh"
e2e_enter_xvfb "$0" "$magna" cmake setpriv

fail() {
  echo "FAIL: $*"
  [ -f "$work/stderr.txt" ] && { echo "--- stderr:"; tail -20 "$work/stderr.txt"; }
  exit 1
}

unset QT_QPA_PLATFORM
export LSAN_OPTIONS=detect_leaks=0
prefix=$work/prefix
config=$work/config
portable=$work/portable
installed_ini=$config/magna/magna.ini

cmake --install "$MAGNA_E2E_BUILD" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install"; }
chmod -R a-w "$prefix"
mkdir -p "$config" "$work/home" "$portable"
cp "$prefix/bin/magna" "$portable/magna"

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  # The X server's key, readable by the unprivileged user for this run.
  cp "${XAUTHORITY:?}" "$work/xauthority" && chmod 644 "$work/xauthority"
  export XAUTHORITY=$work/xauthority
  chmod 755 "$work"
  chown -R 65534:65534 "$config" "$work/home" "$portable"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi

hook=$work/home/hook.txt  # where the unprivileged user may write
# Starts a copy of the program as the user and waits for its window.
start() {
  local launcher=$work/launch-$(basename "$(dirname "$1")")
  {
    echo '#!/bin/bash'
    printf 'exec env HOME=%q XDG_CONFIG_HOME=%q' "$work/home" "$config"
    printf ' %q' "${as_user[@]}" "$1"
    echo
  } >"$launcher"
  chmod 755 "$launcher"
  e2e_launch "$launcher"
  sleep 0.5
}

grow_font() {
  xdotool mousemove --window "$window" "${MAGNA_SIZE_UP_X:-333}" 12 click 1
  sleep 0.3
}

close() {
  e2e_close_window
}

expect_font_size() {  # file, points
  grep -q "^Font_FontSize=$2"$'\r'"\?$" "$1" 2>/dev/null || fail "$1 does not hold the font size $2"
}

# ---- the installed copy -----------------------------------------------------------
start "$prefix/bin/magna"
grow_font
close
[ -f "$installed_ini" ] || fail "the installed copy wrote no $installed_ini"
[ "$(stat -c %a "$config/magna")" = 700 ] || fail "$config/magna has mode $(stat -c %a "$config/magna")"
[ -e "$prefix/bin/magna.ini" ] && fail "the installed copy wrote beside itself"
expect_font_size "$installed_ini" 73
cp "$installed_ini" "$work/first.ini"

start "$prefix/bin/magna"
close
cmp -s "$installed_ini" "$work/first.ini" || fail "the second run did not restore the first run's settings"

# ---- a portable copy ----------------------------------------------------------------
start "$portable/magna"
grow_font
grow_font
close
[ -f "$portable/magna.ini" ] || fail "the portable copy wrote no settings beside itself"
expect_font_size "$portable/magna.ini" 74
cp "$portable/magna.ini" "$work/portable-first.ini"
start "$portable/magna"
close
cmp -s "$portable/magna.ini" "$work/portable-first.ini" || fail "the portable copy's second run differs"
cmp -s "$installed_ini" "$work/first.ini" || fail "the portable copy changed the configuration folder's file"

echo "PASS: an installed copy keeps its settings in the configuration folder, a portable one beside itself"
exit 0
