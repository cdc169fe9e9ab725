#!/usr/bin/env bash
# Builds the benchmarks (release) and runs them all; each prints its own figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --bench
cmake --preset bench >/dev/null
cmake --build --preset bench -j2
for b in build/bench/bench/bench_*; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  "$b"
done
