#!/bin/bash
# End-to-end: the real program under its own Xvfb. Another process copies text
# with xclip; with clipboard watching off nothing happens, switching it on (the
# toolbar button, clicked with xdotool) takes the clipboard at once, and the next
# copy replaces the text; the program's own copy does not. The program's test
# hook (MAGNA_TEST_HOOK) reports the text area's text and the four status
# captions. Only processes started here are stopped.
# Usage: bash clipboard_test.sh <path-to-magna>
set -u
magna=${1:?usage: clipboard_test.sh <path-to-magna>}

source "$(dirname "$0")/xvfbSession.sh"
e2e_enter_xvfb "$0" "$magna" xclip

hook=$work/hook.txt

fail() {
  echo "FAIL: $*"
  [ -f "$hook" ] && { echo "--- hook:"; cat "$hook"; }
  exit 1
}

# Waits up to 30 s for the hook to hold the line.
expect_line() {
  for _ in $(seq 300); do
    grep -qxF -- "$1" "$hook" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "expected line '$1'"
}

copy_elsewhere() {
  printf '%s' "$1" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.3
}

unset QT_QPA_PLATFORM
export LSAN_OPTIONS=detect_leaks=0
# A copy in the work folder: the settings file beside it starts empty (the program
# keeps its settings when it is stopped, watching switched on included).
cp "$magna" "$work/magna" || fail "cannot copy the program"
MAGNA_TEST_HOOK=$hook "$work/magna" 2>"$work/stderr.txt" &
magna_pid=$!
pids+=($magna_pid)

window=""
for _ in $(seq 300); do
  window=$(xdotool search --name '^Magna$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  kill -0 "$magna_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/stderr.txt"; fail "the window did not appear"; }
sleep 0.5

copy_elsewhere "before watching"
sleep 0.5
[ -f "$hook" ] && grep -q 'before watching' "$hook" && fail "replaced while watching was off"

# Third toolbar button: clipboard watching. Buttons are about 24 pixels wide from x = 2.
xdotool mousemove --window "$window" 62 12 click 1
expect_line "text=before watching"
expect_line "char=b"

copy_elsewhere "テスト漢字"
expect_line "text=テスト漢字"
expect_line "char=テ"
expect_line "ansi=SJIS 0x8365"
expect_line "unicode=UTF16 U+30C6"
expect_line "utf8=UTF8 U+E38386 11100011 10000011 10000110"

copy_elsewhere "𠮷野家"
expect_line "text=𠮷野家"
expect_line "ansi=SJIS -"
expect_line "unicode=UTF16 U+20BB7(D842+DFB7)"

# The program's own copy (the first character, Ctrl+C) reaches the clipboard and
# does not replace the text; a copy elsewhere of the same text then does.
xdotool mousemove --window "$window" 200 120 click 1 key ctrl+Home shift+Right ctrl+c
sleep 1
[ "$(xclip -o -selection clipboard 2>/dev/null)" = "𠮷" ] || fail "the own copy is not on the clipboard"
rm -f "$hook"
xdotool key shift
expect_line "text=𠮷野家"
copy_elsewhere "𠮷"
expect_line "text=𠮷"

echo "PASS: clipboard watching replaces the text and the status line reads its first character"
exit 0
