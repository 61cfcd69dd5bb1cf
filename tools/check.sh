#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite: the Windows platform
# layer under Wine first, then the game's own suite, whose summary closes the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh desktop-file-utils appstream
bash tools/check-windows.sh

cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev
