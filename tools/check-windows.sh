#!/usr/bin/env bash
# Cross-compiles the game for Windows with MinGW-w64, plays it and tests the Windows
# implementations under Wine, and builds the zip.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64 wine wine64
source tools/wine-run.sh

# One run at a time per prefix: the tests write the same registry values. Wine must not inherit
# the lock, or its server would hold it.
exec 9>"$WINEPREFIX.lock"
flock 9
trap 'wineserver -k 9>&- 2>/dev/null || true' EXIT

prepare_wine_prefix 9>&-

cmake --preset windows >/dev/null 9>&-
cmake --build --preset windows 9>&-
ctest --preset windows 9>&-
cpack --preset windows 9>&-
