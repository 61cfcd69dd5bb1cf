#!/usr/bin/env bash
# Cross-compiles the game for Windows with MinGW-w64, plays it and tests the Windows
# implementations under Wine (also on a virtual display, with real keys, mouse and screenshots),
# and builds the zip.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64 wine wine64 xvfb xdotool imagemagick
source tools/wine-run.sh

take_wine_prefix

cmake --preset windows >/dev/null 9>&-
cmake --build --preset windows 9>&-
ctest --preset windows 9>&-
cpack --preset windows 9>&-
