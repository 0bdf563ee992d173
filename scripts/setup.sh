#!/usr/bin/env bash
# Installs the Debian packages Vexlo builds and runs with (only the missing
# ones). Runs as root or through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git python3 ccache
  clang libclang-rt-14-dev
  libsdl2-dev libepoxy-dev libgl1-mesa-dri libegl-mesa0 libegl1
  zlib1g-dev libdeflate-dev libpng-dev libjpeg-dev libgif-dev
  libfreetype-dev libfontconfig-dev libsqlite3-dev fontconfig fonts-dejavu-core
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  lua5.4
  xvfb x11-utils x11-apps xdotool wmctrl openbox
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
