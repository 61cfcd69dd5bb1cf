#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
# Usage: tools/deps.sh [extra package ...]
set -euo pipefail

# Every build draws the icons with ImageMagick and icoutils (cmake/Icons.cmake).
packages=(g++ make cmake qt6-base-dev libgl-dev fonts-ipafont-gothic imagemagick icoutils "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
