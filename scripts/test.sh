#!/usr/bin/env bash
# Builds Magna with AddressSanitizer and UndefinedBehaviorSanitizer and runs the
# whole test suite: unit tests, widget tests (offscreen) and end-to-end tests
# under Xvfb; then the text, settings and code-page tests once more in a build
# without the SSE2 paths. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# Paths relative to the checkout, so that other checkouts of the tree share the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset debug >/dev/null
cmake --build --preset debug -j2
ctest --preset debug --output-on-failure -j2

# The conversions' scalar paths, compiled out wherever SSE2 is there, under the tests of
# the layers that use them: a second build of those tests alone.
cmake --preset scalar >/dev/null
mapfile -t scalar_tests < <(cmake --build --preset scalar --target help |
  grep -oE '^test_(text|settings|platform_codepage)_[A-Za-z0-9_]+' | sort -u)
cmake --build --preset scalar -j2 --target "${scalar_tests[@]}"
ctest --preset scalar -R '^(text|text_[a-z]+|settings|platform_codepage)/' --output-on-failure -j2
