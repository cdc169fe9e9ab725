#!/usr/bin/env bash
# Builds the Japanese text corpus of the character-code benchmark in bench/corpus/:
# the Japanese manual pages (manpages-ja) and the Debian Reference in Japanese
# (debian-reference-ja) as one UTF-8 text, cut to the characters every code can carry,
# then converted with iconv into Shift_JIS, EUC-JP, ISO-2022-JP, UTF-16LE/BE (no mark)
# and UTF-7. Idempotent: does nothing when the corpus is there.
set -euo pipefail
cd "$(dirname "$0")"
out=corpus
[[ -s $out/ja.utf8 && -s $out/ja.utf7 ]] && exit 0
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Manual pages: roff source as it is (mostly ASCII markup around Japanese prose).
find /usr/share/man/ja -name '*.gz' -type f | sort | xargs zcat -f >"$tmp/man.txt" 2>/dev/null || true
# Debian Reference: the HTML pages with their tags removed.
cat /usr/share/doc/debian-reference-ja/docs/*.ja.html 2>/dev/null |
  sed -e 's/<[^>]*>//g' -e 's/&lt;/</g; s/&gt;/>/g; s/&amp;/\&/g' | grep -v '^[[:space:]]*$' >"$tmp/ref.txt" || true
cat "$tmp/man.txt" "$tmp/ref.txt" | tr -d '\r\000' >"$tmp/all.txt"
[[ -s $tmp/all.txt ]] || { echo "install manpages-ja and debian-reference-ja first" >&2; exit 1; }

# The characters every code carries: through Shift_JIS, EUC-JP and ISO-2022-JP and back.
iconv -c -f UTF-8 -t CP932 "$tmp/all.txt" | iconv -f CP932 -t UTF-8 |
  iconv -c -f UTF-8 -t EUC-JP | iconv -f EUC-JP -t UTF-8 |
  iconv -c -f UTF-8 -t ISO-2022-JP | iconv -f ISO-2022-JP -t UTF-8 >"$out/ja.utf8"

iconv -f UTF-8 -t CP932 "$out/ja.utf8" >"$out/ja.sjis"
iconv -f UTF-8 -t EUC-JP "$out/ja.utf8" >"$out/ja.euc"
iconv -f UTF-8 -t ISO-2022-JP "$out/ja.utf8" >"$out/ja.jis"
iconv -f UTF-8 -t UTF-16LE "$out/ja.utf8" >"$out/ja.utf16le"
iconv -f UTF-8 -t UTF-16BE "$out/ja.utf8" >"$out/ja.utf16be"
iconv -f UTF-8 -t UTF-7 "$out/ja.utf8" >"$out/ja.utf7"
ls -l "$out"
