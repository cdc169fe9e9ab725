#!/usr/bin/env bash
# Builds the corpus of the mojibake repair in bench/corpus/repair/: real text no one
# here wrote, from Debian packages, then the pairs NAME.in.txt / NAME.want.txt and a
# manifest (MANIFEST.tsv) made from it by bench_text_repairCorpus with the program's own
# code pages (a fixed seed: the same packages give the same pairs).
#
#   bench/makeRepairCorpus.sh [BUILD_DIR]    (BUILD_DIR: where bench_text_repairCorpus is,
#                                             default build/bench/bench)
#
# Sources (scripts/install-deps.sh --bench installs the packages):
#   ja-man.txt  Japanese manual pages (manpages-ja), roff source
#   ja-ref.txt  the Debian Reference in Japanese (debian-reference-ja), tags removed
#   en.txt      English manual pages (the system's own), roff source
#   code.txt    C headers (/usr/include) and Python modules (/usr/lib/python3*)
#   urls.txt    URLs found in the packages' copyright files and manual pages
#   names.txt   lines of the copyright files with letters beyond ASCII (names in Latin
#               scripts and others)
# The Japanese text is cut, as bench/makeCorpus.sh does, to the characters Shift_JIS,
# EUC-JP and ISO-2022-JP all carry, so that every chain can be made from every text.
set -euo pipefail
tool=$(realpath "${1:-$(dirname "$0")/../build/bench/bench}")/bench_text_repairCorpus
cd "$(dirname "$0")"
src=corpus/repair/sources
out=corpus/repair/pairs
mkdir -p "$src"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

common_japanese() {
  iconv -c -f UTF-8 -t CP932 | iconv -f CP932 -t UTF-8 |
    iconv -c -f UTF-8 -t EUC-JP | iconv -f EUC-JP -t UTF-8 |
    iconv -c -f UTF-8 -t ISO-2022-JP | iconv -f ISO-2022-JP -t UTF-8
}

if [[ ! -s $src/ja-man.txt ]]; then
  find /usr/share/man/ja -type f -name '*.gz' | sort | xargs zcat -f 2>/dev/null |
    tr -d '\r\000' | common_japanese >"$src/ja-man.txt"
fi
if [[ ! -s $src/ja-ref.txt ]]; then
  cat /usr/share/doc/debian-reference-ja/docs/*.ja.html |
    sed -e 's/<[^>]*>//g' -e 's/&lt;/</g; s/&gt;/>/g; s/&amp;/\&/g' |
    grep -v '^[[:space:]]*$' | tr -d '\r\000' | common_japanese >"$src/ja-ref.txt"
fi
[[ -s $src/ja-man.txt && -s $src/ja-ref.txt ]] ||
  { echo "install manpages-ja and debian-reference-ja first" >&2; exit 1; }
if [[ ! -s $src/en.txt ]]; then
  find /usr/share/man/man1 /usr/share/man/man5 /usr/share/man/man8 -type f -name '*.gz' |
    sort | sed -n 1,3000p | xargs zcat -f 2>/dev/null | iconv -c -f UTF-8 -t UTF-8 |
    tr -d '\r\000' >"$src/en.txt"
fi
if [[ ! -s $src/code.txt ]]; then
  { find /usr/include -type f -name '*.h' | sort | sed -n 1,1500p
    find /usr/lib/python3* -maxdepth 2 -type f -name '*.py' | sort | sed -n 1,1500p
  } | xargs cat 2>/dev/null | iconv -c -f UTF-8 -t UTF-8 | tr -d '\r\000' >"$src/code.txt"
fi
if [[ ! -s $src/urls.txt ]]; then
  { cat /usr/share/doc/*/copyright 2>/dev/null
    find /usr/share/man -type f -name '*.gz' | sort | sed -n 1,6000p | xargs zcat -f 2>/dev/null
  } | grep -aoE 'https?://[A-Za-z0-9._~:/?#@!$&*+,;=%-]+' | sed -e 's/[.,;:]*$//' |
    sort -u >"$src/urls.txt"
fi
if [[ ! -s $src/names.txt ]]; then
  cat /usr/share/doc/*/copyright 2>/dev/null | iconv -c -f UTF-8 -t UTF-8 |
    grep -aP '[^\x00-\x7F]' | sort -u >"$src/names.txt"
fi
wc -c "$src"/*

rm -rf "$out"
"$tool" make "$src" "$out"
