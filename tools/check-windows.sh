#!/usr/bin/env bash
# Cross-compiles the Windows platform layer with MinGW-w64 and runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh g++-mingw-w64-x86-64 wine wine64
source tools/wine-run.sh

# One run at a time per prefix: the tests write the same registry values. Wine must not inherit
# the lock, or its server would hold it.
exec 9>"$WINEPREFIX.lock"
flock 9
trap 'wineserver -k 9>&- 2>/dev/null || true' EXIT

# Warm the prefix before ctest, so Wine's background processes do not hold ctest's output open.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
fi
wineserver -p </dev/null >/dev/null 2>&1 9>&-
wine wineboot </dev/null >/dev/null 2>&1 9>&-

cmake --preset windows-wine >/dev/null 9>&-
cmake --build --preset windows-wine 9>&-
ctest --preset windows-wine --timeout 120 9>&-
