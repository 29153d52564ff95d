#!/usr/bin/env bash
# Installs the Debian packages Quillmere builds, runs and tests with; only what is missing.
set -eu
packages=(cmake make g++ pkg-config
          libsdl2-dev libdevil-dev libgl-dev libglu1-mesa-dev libegl-dev libfreetype-dev
          libfontconfig-dev libgtk-3-dev fonts-liberation2 libjpeg-dev
          webp-pixbuf-loader heif-gdk-pixbuf libavif-gdk-pixbuf)
if [ "${1:-}" = "--test" ]; then
    packages+=(libgtest-dev libgmock-dev xvfb xauth xdotool libgl1-mesa-dri x11-apps
               libx11-dev x11-utils imagemagick desktop-file-utils python3
               fonts-wqy-microhei webp libheif-examples libavif-bin)
fi
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
