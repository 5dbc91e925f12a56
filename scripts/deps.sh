#!/usr/bin/env bash
# Installs what building and testing Quillmere needs on Debian/Ubuntu, if it
# is missing. Safe to run again; does nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ python3 python3-yaml
          g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
          wine64 wine xvfb xauth x11-utils imagemagick x11-apps fonts-noto-cjk
          xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
          googletest libgtest-dev libbenchmark-dev locales)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The Windows tests run in a Japanese and an English user interface; Wine
# takes the language from LANG only when the C library has that locale.
locales_missing() {
  local l
  for l in ja_JP.utf8 en_US.utf8; do locale -a 2>/dev/null | grep -qx "$l" || return 0; done
  return 1
}
make_locales() {
  locales_missing || return 0
  local SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  $SUDO localedef -i en_US -f UTF-8 en_US.UTF-8
}

[ ${#missing[@]} -eq 0 ] && { make_locales; exit 0; }

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
make_locales
