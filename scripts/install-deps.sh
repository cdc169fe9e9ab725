#!/usr/bin/env bash
# Installs every Debian package Magna needs to build, test and run.
# Idempotent and quiet when everything is present; needs root (or sudo).
#   scripts/install-deps.sh          build, test and run
#   scripts/install-deps.sh --bench  also the tools and corpora the benchmarks use
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang-format git
  libicu-dev libuchardet-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-l10n-tools libgl-dev
  fonts-noto-cjk fontconfig
  xvfb xauth xclip xdotool x11-utils imagemagick libx11-dev libxcb1-dev libxcb-xfixes0-dev
  libwayland-dev libwayland-bin qt6-wayland sway xwayland wl-clipboard wtype
  dbus-x11 libglib2.0-bin ibus ibus-anthy ibus-mozc python3-gi gir1.2-ibus-1.0
  desktop-file-utils appstream lintian file man-db
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(manpages-ja debian-reference-ja nkf hyperfine libc-bin)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
