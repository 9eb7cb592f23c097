#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those that are missing
# (through sudo when not root). The 32-bit Wine, which runs the i686 release, is added with the
# i386 architecture only where the kernel runs 32-bit programs: elsewhere it would break Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  cmake ninja-build g++ clang-format googletest libgtest-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick fonts-ipafont-gothic fonts-ipafont-mincho
  locales libmspack-dev mscompress liblnk-utils python3 osslsigncode openssl
)
i386=0
if "$here/runs-32bit.sh"; then
  i386=1
  packages+=(wine32:i386)
else
  echo "install-deps: this machine's kernel does not run 32-bit programs: wine32 is not" \
    "installed, and the i686 build's tests will be skipped"
fi

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
if [[ $i386 == 1 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
