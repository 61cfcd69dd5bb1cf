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

# Windows need no display under Wine's null graphics driver. It is set before the server that
# runs the tests starts: a server started with another driver keeps it.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
fi
if ! grep -q '^"Graphics"="null"' "$WINEPREFIX/user.reg"; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
fi
# Warm the prefix before ctest, so Wine's background processes do not hold ctest's output open.
wineserver -p </dev/null >/dev/null 2>&1 9>&-
wine wineboot </dev/null >/dev/null 2>&1 9>&-

cmake --preset windows >/dev/null 9>&-
cmake --build --preset windows 9>&-
ctest --preset windows 9>&-
cpack --preset windows 9>&-
