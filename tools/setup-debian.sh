#!/usr/bin/env bash
# Installs every Debian 12 package the viewers need to build, test and run.
# Idempotent: when everything is present already it changes nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6printsupport6 libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev valgrind
  libcanberra-dev libasound2-dev libfontconfig-dev sound-theme-freedesktop libxcb1-dev
  libcairo2-dev libqpdf-dev qpdf libharfbuzz-dev
  fonts-noto-cjk fonts-noto-core fonts-liberation2 fonts-urw-base35 fonts-dejavu-core
  xvfb xdotool imagemagick
  clang-14 libclang-rt-14-dev llvm-14
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
  dbus at-spi2-core python3 python3-pyatspi
  desktop-file-utils appstream dpkg-dev lintian man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
