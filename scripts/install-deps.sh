#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those that are missing
# (through sudo when not root).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang-format googletest libgtest-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick fonts-ipafont-gothic fonts-ipafont-mincho
  locales libmspack-dev mscompress liblnk-utils python3
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} == 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) == 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
