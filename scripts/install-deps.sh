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
               fonts-wqy-microhei fonts-dejavu-core webp libheif-examples libavif-bin)
fi
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang libclang-rt-14-dev)
fi
# The Windows program (make windows) is cross-built with MinGW-w64; its tests run under Wine.
if [ "${1:-}" = "--windows" ] || [ "${1:-}" = "--test" ]; then
    packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools)
fi
if [ "${1:-}" = "--test" ]; then
    packages+=(wine wine64 googletest)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# GoogleTest for the Windows tests, cross-built once from Debian's sources into MinGW's prefix.
gtest_prefix=/usr/local/x86_64-w64-mingw32
if [ "${1:-}" = "--test" ] && [ ! -f $gtest_prefix/lib/cmake/GTest/GTestConfig.cmake ]; then
    echo "Cross-building GoogleTest into $gtest_prefix"
    work=$(mktemp -d)
    cmake -S /usr/src/googletest -B "$work" -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-w64-x86_64.cmake" \
          -DCMAKE_INSTALL_PREFIX=$gtest_prefix -DCMAKE_CROSSCOMPILING_EMULATOR= >"$work.log"
    cmake --build "$work" -j "$(nproc)" >>"$work.log"
    $sudo cmake --install "$work" >>"$work.log"
    rm -rf "$work" "$work.log"
fi
