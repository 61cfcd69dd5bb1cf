#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite: static analysis, the
# Windows platform layer under Wine, the web page in headless Chromium, the suite under the
# sanitizers, a minute of fuzzing per target, the suite again in a plain build as a packager makes
# it (no preset, warnings no errors) with its Debian package under lintian, a game played with the
# Orca screen reader, then the game's own suite, whose summary closes the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh desktop-file-utils appstream
bash tools/lint.sh
bash tools/check-windows.sh
bash tools/check-web.sh
bash tools/check-asan.sh
bash tools/fuzz.sh
bash tools/check-package.sh

cmake --preset dev >/dev/null
cmake --build --preset dev
bash tools/test-orca.sh
ctest --preset dev
