#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Quillscan, when any is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  qt6-base-dev libgl-dev libgtest-dev
  unicode-data
  xvfb xauth xdotool xclip x11-utils fonts-noto-cjk
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils file man-db
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
