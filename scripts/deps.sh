#!/usr/bin/env bash
# Installs what building and testing Quillmere needs on Debian/Ubuntu, if it
# is missing. Safe to run again; does nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ python3
          g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
          wine64 wine xvfb xauth x11-utils imagemagick x11-apps fonts-noto-cjk
          xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
          googletest libgtest-dev libbenchmark-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
