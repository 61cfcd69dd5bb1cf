#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev
