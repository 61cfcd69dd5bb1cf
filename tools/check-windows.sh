#!/usr/bin/env bash
# Cross-compiles the game for Windows with MinGW-w64, plays it and tests the Windows
# implementations under Wine (also on a virtual display, with real keys, mouse and screenshots),
# and builds the zip.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xdotool imagemagick unzip
source tools/wine-run.sh

take_wine_prefix

cmake --preset windows >/dev/null 9>&-
cmake --build --preset windows 9>&-
ctest --preset windows 9>&-
cpack --preset windows 9>&-

# The zip's texts have the line ends the oldest Notepad reads, and the read-me names the version
# the zip does.
zip=$(ls build/windows/vostrel-*-win64.zip)
version=${zip#build/windows/vostrel-}
version=${version%-win64.zip}
for text in README.txt LICENSE.txt h_dat.txt; do
    if unzip -p "$zip" "*/$text" | grep -qv $'\r$'; then
        echo "FAIL: $text in $zip has lines that do not end in CR LF"
        exit 1
    fi
done
if [ "$(unzip -p "$zip" '*/README.txt' | head -n 1)" != "Vostrel $version"$'\r' ]; then
    echo "FAIL: README.txt in $zip does not begin with \"Vostrel $version\""
    exit 1
fi

# The program's size as players get it, the figure the documentation gives.
size=$(unzip -l "$zip" '*/vostrel.exe' | awk 'NR == 4 { print $1 }')
echo "vostrel.exe as $(basename "$zip") holds it: $size bytes ($((size / 1024)) KiB)"
