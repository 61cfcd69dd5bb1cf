#!/usr/bin/env bash
# Installs what is missing, builds the game with its data files beside it, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/bin/vostrel
