#!/bin/bash
# End-to-end: `magna --repair` as scripts use it, with no display at all: the
# bytes on standard output, the words on standard error and the exit status for
# each text source, a final line break kept as given, clean text passed through,
# an unreadable file and bad usage.
# Usage: bash repair_test.sh <path-to-magna>
set -u
magna=${1:?usage: repair_test.sh <path-to-magna>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LSAN_OPTIONS=detect_leaks=0
failures=0

# Misread and encoded forms of 今日は会議です。 made here from its UTF-8 bytes.
printf '\xe4\xbb\x8a\xe6\x97\xa5\xe3\x81\xaf\xe4\xbc\x9a\xe8\xad\xb0\xe3\x81\xa7\xe3\x81\x99\xe3\x80\x82' >"$work/utf8"
iconv -f LATIN1 -t UTF-8 "$work/utf8" >"$work/latin1"        # UTF-8 read as ISO-8859-1
printf '\r\n' >>"$work/latin1"
iconv -f UTF-8 -t SHIFT_JIS "$work/utf8" >"$work/sjis.txt"   # a clean file in Shift_JIS
printf 'plain text, nothing to do' >"$work/clean"
printf '%%E4%%BB%%8A%%E6%%97%%A5%%E3%%81%%AF\n' >"$work/percent.txt"
sjis_misread=$(printf '\xe7\xb8\xba\xe8\x96\x99\xef\xbd\x93\xe7\xb8\xba\xef\xbd\xab\xe7\xb8\xba\xef\xbd\xa1\xe7\xb8\xba\xef\xbd\xaf')
hello=$(printf '\xe3\x81\x93\xe3\x82\x93\xe3\x81\xab\xe3\x81\xa1\xe3\x81\xaf')
today=$(cat "$work/utf8")

# name | LANG | standard input file | exit status | stdout (printf format) | stderr (grep -E) | arguments...
check() {
  local name=$1 lang=$2 input=$3 status=$4 out=$5 err=$6
  shift 6
  env -u DISPLAY -u WAYLAND_DISPLAY LANG="$lang" LC_ALL= LC_MESSAGES= "$magna" "$@" \
    <"$input" >"$work/out" 2>"$work/err"
  local got=$?
  printf "$out" >"$work/want"
  if [ "$got" -ne "$status" ]; then
    echo "FAIL $name: exit status $got, not $status"; failures=$((failures + 1))
  elif ! cmp -s "$work/out" "$work/want"; then
    echo "FAIL $name: standard output"; od -c "$work/out" | head -5; failures=$((failures + 1))
  elif ! grep -qE -- "$err" "$work/err" && ! { [ "$err" = '^$' ] && [ ! -s "$work/err" ]; }; then
    echo "FAIL $name: standard error: $(cat "$work/err")"; failures=$((failures + 1))
  fi
}

check "argument, Japanese words" ja_JP.UTF-8 /dev/null 0 "$hello\n" \
  '^UTF-8 を Shift_JIS として読んだ文字化け$' --repair "$sjis_misread"
check "argument, English words" en_US.UTF-8 /dev/null 0 "$hello\n" \
  '^UTF-8 read as Shift_JIS$' --repair "$sjis_misread"
check "options after the text" C.UTF-8 /dev/null 0 "$hello\n" '.' "$sjis_misread" --repair
check "standard input, CR LF kept" en_US.UTF-8 "$work/latin1" 0 "$today\r\n" \
  'ISO-8859-1' --repair -
check "clean input unchanged, no break added" en_US.UTF-8 "$work/clean" 0 \
  'plain text, nothing to do' '^$' --repair -
check "a Shift_JIS file comes out as UTF-8" en_US.UTF-8 /dev/null 0 "$today" '^$' \
  --repair --file "$work/sjis.txt"
check "percent-encoding, LF kept" en_US.UTF-8 /dev/null 0 "$(printf '%s' "$today" | head -c 9)\n" \
  'percent' --repair --file="$work/percent.txt"
check "an unreadable file" en_US.UTF-8 /dev/null 1 '' "'$work/missing': " \
  --repair --file "$work/missing"
check "no text" en_US.UTF-8 /dev/null 2 '' "needs TEXT, '-' or --file" --repair
check "two sources" en_US.UTF-8 /dev/null 2 '' 'only one of' --repair abc --file "$work/clean"

[ "$failures" -eq 0 ] && echo "PASS" || exit 1
