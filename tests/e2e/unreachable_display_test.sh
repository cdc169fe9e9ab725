#!/bin/bash
# End-to-end: a DISPLAY whose X server can't be reached ends the program with a
# plain message and exit status 1, as no display at all does (Qt alone would
# abort with status 134). Needs no display of its own.
# Usage: bash unreachable_display_test.sh <path-to-magna>
set -u
magna=${1:?usage: unreachable_display_test.sh <path-to-magna>}
[ -e /tmp/.X11-unix/X55 ] && { echo "SKIP: an X server runs on :55"; exit 0; }

err=$(mktemp)
trap 'rm -f "$err"' EXIT
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=:55 LSAN_OPTIONS=detect_leaks=0 \
  timeout 60 "$magna" >/dev/null 2>"$err"
status=$?
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status, not 1"; cat "$err"; exit 1; }
grep -qF 'Magna: the display ":55" could not be opened' "$err" ||
  { echo "FAIL: the message was:"; cat "$err"; exit 1; }
echo "PASS: an unreachable display is said plainly, exit status 1"
exit 0
