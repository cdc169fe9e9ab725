#!/bin/bash
# End-to-end: clipboard watching against owners that are not plain copies.
# A password manager's copy (text plus x-kde-passwordManagerHint = secret, from a
# small Qt program) leaves the shown text unchanged; 1,000 changes in a burst
# end with the last text shown; a copy of 10 MB (sent in parts, INCR) is shown
# whole.
# Usage: bash clipboard_owners_test.sh <path-to-magna>   (MAGNA_E2E_HELPERS: the helpers' folder)
set -u
magna=${1:?usage: clipboard_owners_test.sh <path-to-magna>}
helpers=${MAGNA_E2E_HELPERS:?the folder of the test helpers}

source "$(dirname "$0")/xvfbSession.sh"
e2e_enter_xvfb "$0" "$magna" xclip

# Starts a clipboard owner and waits until its text is on the clipboard.
own_clipboard() {  # arguments of clipboardOwner...
  local out=$work/owner$RANDOM.txt
  "$helpers/clipboardOwner" "$@" >"$out" 2>>"$work/stderr.txt" &
  pids+=($!)
  for _ in $(seq 600); do
    grep -q ready "$out" 2>/dev/null && return 0
    sleep 0.1
  done
  e2e_fail "the clipboard owner ($1) did not get ready"
}

e2e_start_magna "$magna"
# Third toolbar button: clipboard watching.
xdotool mousemove --window "$window" 62 12 click 1
printf '%s' "shown" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
pids+=($!)
e2e_expect_line "text=shown"

own_clipboard --secret "hunter2 秘密"
# The key's status update comes after the clipboard notice, which arrived first.
rm -f "$hook"
xdotool mousemove --window "$window" 200 120 click 1 key End
e2e_expect_line "text=shown" 10
grep -q hunter2 "$hook" && e2e_fail "the secret was shown"

start=$(date +%s%N)
own_clipboard --burst 1000 "burst "
e2e_expect_line "text=burst 1000" 120
echo "1000 changes in a burst: the last one shown $((($(date +%s%N) - start) / 1000000)) ms after the first"

# 10 MB of UTF-8 without line breaks, marked at both ends: the hook's text line is
# then exactly "text=" and the copy.
big=$work/big.txt
{
  printf 'BEGIN-'
  yes '日本語テキスト0123456789ABCDEFGHI' | head -n 250000 | tr -d '\n'
  printf -- '-END'
} >"$big"
{
  printf 'text='
  cat "$big"
  echo
} >"$work/big-expected.txt"
start=$(date +%s%N)
xclip -quiet -selection clipboard -i "$big" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 600); do
  head -c 6 "$hook" 2>/dev/null | grep -q 'text=B' && grep -q -- '-END$' "$hook" 2>/dev/null && break
  sleep 0.1
done
head -n 1 "$hook" | cmp -s - "$work/big-expected.txt" ||
  e2e_fail "the 10 MB copy was not shown whole ($(head -n 1 "$hook" | wc -c) bytes in the hook's text line)"
echo "a copy of $(stat -c %s "$big") bytes shown whole $((($(date +%s%N) - start) / 1000000)) ms after the copy"

echo "PASS: a password manager's secret is not shown; a burst of changes ends with the last text; 10 MB arrive whole"
exit 0
