#!/usr/bin/env bash
# Builds Magna with AddressSanitizer and UndefinedBehaviorSanitizer and runs the
# whole test suite: unit tests, widget tests (offscreen) and end-to-end tests
# under Xvfb. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# Paths relative to the checkout, so that other checkouts of the tree share the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset debug >/dev/null
cmake --build --preset debug -j2
ctest --preset debug --output-on-failure -j2
