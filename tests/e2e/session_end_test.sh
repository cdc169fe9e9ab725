#!/bin/bash
# End-to-end: however the session ends, the settings the user changed are on disk
# and the program ends without a crash. One row per way out; each gets an X
# server of its own, a fresh copy of the program (its settings file beside it,
# absent at the start) and the font grown by two points to 74 with the toolbar's
# size-up button. Then:
#   alt+F4   the window is closed                                  status 0
#   TERM     kill -TERM: a logout, `systemctl --user stop`, `kill`  status 0
#   HUP      kill -HUP: the terminal it was started from went away  status 0
#   INT      kill -INT: Ctrl+C where it was started                 status 0
#   TERM+F1  kill -TERM while a modal dialog (the version dialog) is open:
#            the dialog's own loop must not keep the program alive  status 0
#   display  the X server ends under it (a logout, a remote session that drops):
#            Qt ends the process with status 1, and nothing of ours runs first,
#            so the settings must be written before, a moment after the change
# The signals come right after the change, before that moment: their own close
# must write. Every row: the exit status, "Font_FontSize=74" in the settings
# file, and no report of the sanitizers (leaks included) in standard error.
# Only processes started here are stopped.
# Usage: bash session_end_test.sh <path-to-magna>
set -u
magna=${1:?usage: session_end_test.sh <path-to-magna>}
suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp

source "$(dirname "$0")/xvfbSession.sh"
e2e_enter_xvfb "$0" "$magna" Xvfb

unset QT_QPA_PLATFORM
export LSAN_OPTIONS=suppressions=$suppressions
hook=$work/hook.txt
program=$work/magna
ini=$work/magna.ini
cp "$magna" "$program" || e2e_fail "cannot copy the program"

font_size() {
  [ -f "$ini" ] || return 0
  tr -d '\r' <"$ini" | sed -n 's/^Font_FontSize=//p'
}

# Starts the program on a display of its own with every signal at its default
# handling (a background job of a script ignores SIGINT) and grows the font.
start_and_grow() {
  rm -f "$ini" "$work/stderr.txt"
  e2e_own_display
  e2e_launch env --default-signal "$program"
  for _ in 1 2; do
    xdotool mousemove --window "$window" "${MAGNA_SIZE_UP_X:-333}" 12 click 1
    sleep 0.3
  done
}

# Waits up to 10 s for a second window of the program (a dialog) to be shown.
wait_for_dialog() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --pid "$magna_pid" 2>/dev/null | grep -qvx "$window" && return 0
    sleep 0.1
  done
  e2e_fail "the dialog did not appear"
}

end_by() {  # way out
  case $1 in
    alt+F4) xdotool key alt+F4 ;;
    TERM+F1)
      xdotool key F1
      wait_for_dialog
      kill -TERM "$magna_pid"
      ;;
    display)
      # A moment after the change the settings are on disk; then the server goes.
      for _ in $(seq 100); do
        [ "$(font_size)" = 74 ] && break
        sleep 0.1
      done
      kill "$display_pid"
      ;;
    *)
      [ "$(font_size)" = 74 ] && echo "  (note: the file held the change before the signal came)"
      kill "-$1" "$magna_pid"
      ;;
  esac
}

check_row() {  # way out, expected status
  e2e_wait_end "$1"
  [ "$end_status" -eq "$2" ] || e2e_fail "$1: exit status $end_status, not $2"
  grep -q "Sanitizer" "$work/stderr.txt" && e2e_fail "$1: a sanitizer reported"
  local size
  size=$(font_size)
  [ "$size" = 74 ] || e2e_fail "$1: the settings file holds font size '${size}', not 74"
  kill "$display_pid" 2>/dev/null
  wait "$display_pid" 2>/dev/null
}

# Way out and the exit status it must give.
rows=("alt+F4 0" "TERM 0" "HUP 0" "INT 0" "TERM+F1 0" "display 1")
for row in "${rows[@]}"; do
  read -r way status <<<"$row"
  start_and_grow
  end_by "$way"
  check_row "$way" "$status"
  echo "$way: exit status $status, font size 74 kept"
done

echo "PASS: the settings are kept and the program ends cleanly however the session ends"
exit 0
