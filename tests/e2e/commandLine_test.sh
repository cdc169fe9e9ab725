#!/bin/bash
# End-to-end: the command line of the real program. --version, --help and an
# unknown option answer without any display (exit status 0, 0 and 2, texts on
# the right stream); `magna TEXT`, `printf ... | magna -` and `magna --file PATH`
# start with that text, the character code of standard input and files detected;
# with clipboard watching on, the text given still wins over the clipboard's at
# start. The program runs from a copy in a temporary folder, so that its settings
# stay there. Only processes started here are stopped.
# Usage: bash commandLine_test.sh <path-to-magna>
set -u
magna=${1:?usage: commandLine_test.sh <path-to-magna>}

source "$(dirname "$0")/xvfbSession.sh"
e2e_enter_xvfb "$0" "$magna" xclip

program=$work/magna
hook=$work/hook.txt
export LSAN_OPTIONS=detect_leaks=0
unset QT_QPA_PLATFORM

fail() {
  echo "FAIL: $*"
  [ -f "$hook" ] && { echo "--- hook:"; cat "$hook"; }
  [ -f "$work/stderr.txt" ] && { echo "--- stderr:"; tail -20 "$work/stderr.txt"; }
  exit 1
}

cp "$magna" "$program" || fail "cannot copy the program"

# ---- without a display -------------------------------------------------------
headless() {
  env -u DISPLAY -u WAYLAND_DISPLAY LANG=C.UTF-8 "$program" "$@" >"$work/out.txt" 2>"$work/err.txt"
}

headless --version
[ $? -eq 0 ] || fail "--version: exit status not 0"
[ "$(head -1 "$work/out.txt")" = "Magna ${MAGNA_FILE_VERSION:?set by the build}" ] || fail "--version printed: $(cat "$work/out.txt")"
[ -s "$work/err.txt" ] && fail "--version wrote to standard error: $(cat "$work/err.txt")"

headless --help
[ $? -eq 0 ] || fail "--help: exit status not 0"
grep -q '^Usage: magna \[OPTION\]\.\.\. \[TEXT\]\.\.\.$' "$work/out.txt" || fail "--help printed: $(cat "$work/out.txt")"
grep -qxF "Settings file: $work/magna.ini" "$work/out.txt" || fail "--help names another settings file"

headless --bogus
status=$?
[ $status -eq 2 ] || fail "--bogus: exit status $status, not 2"
[ -s "$work/out.txt" ] && fail "--bogus wrote to standard output"
grep -qF "unknown option '--bogus'" "$work/err.txt" || fail "--bogus said: $(cat "$work/err.txt")"
grep -q '^Usage: ' "$work/err.txt" || fail "--bogus gave no usage line"

# ---- with a display ------------------------------------------------------------
magna_pid=""
# Starts the program with the arguments (standard input from the caller) and
# waits up to 30 s for its first status record.
start() {
  rm -f "$hook"
  MAGNA_TEST_HOOK=$hook "$program" "$@" 2>>"$work/stderr.txt" &
  magna_pid=$!
  pids+=($magna_pid)
  for _ in $(seq 300); do
    [ -s "$hook" ] && return 0
    kill -0 "$magna_pid" 2>/dev/null || fail "the program ended early ($*)"
    sleep 0.1
  done
  fail "no status record from: $*"
}

stop() {
  kill "$magna_pid" 2>/dev/null
  wait "$magna_pid" 2>/dev/null
}

expect_text() {
  grep -qxF -- "text=$1" "$hook" || fail "expected the text '$1'"
}

start 会議は3時から
expect_text "会議は3時から"
grep -qxF "char=会" "$hook" || fail "the caret is not at the start"
stop

start -- -reverse
expect_text "-reverse"
stop

printf 'x' | start -
expect_text "x"
stop

# Shift_JIS with a final CR LF, as a Windows program writes it.
printf '\x89\xef\x8b\x63\x82\xcd\x33\x8e\x9e\x82\xa9\x82\xe7\r\n' | start -
expect_text "会議は3時から"
stop

# EUC-JP in a file whose name has a space.
printf '\xb2\xf1\xb5\xc4\xa4\xcf\xa3\xb3\xbb\xfe\xa4\xab\xa4\xe9\n' >"$work/memo 1.txt"
start --file "$work/memo 1.txt"
expect_text "会議は３時から"
stop

env -u DISPLAY -u WAYLAND_DISPLAY "$program" --file "$work/missing.txt" >/dev/null 2>"$work/err.txt"
[ $? -ne 0 ] || fail "a missing file was reported as success"

# Watching on and another text on the clipboard: the text given is shown.
printf '[Text]\r\nCheckClipboard=1\r\n' >"$work/magna.ini"
printf 'from the clipboard' | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
start 引数のテキスト
sleep 1.5
expect_text "引数のテキスト"
stop

echo "PASS: --version, --help and usage errors without a display; text, '-' and --file shown at start"
exit 0
