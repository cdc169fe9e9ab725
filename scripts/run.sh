#!/usr/bin/env bash
# Builds Magna (release) and starts it on the user's display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target magna
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "magna: no display found (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  echo "Start it inside a desktop session, or try it under Xvfb:" >&2
  echo "  xvfb-run -a -s '-screen 0 1280x800x24' scripts/run.sh" >&2
  exit 1
fi
exec build/release/app/magna "$@"
