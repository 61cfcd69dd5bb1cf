#!/usr/bin/env bash
# Installs what is missing, builds the game with its data files beside it, and starts it.
# `tools/play.sh web` builds the web page instead and serves it on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = web ]; then
    bash tools/deps.sh emscripten nlohmann-json3-dev python3
    cmake --preset web >/dev/null
    cmake --build --preset web
    port=${PORT:-8000}
    echo "Vostrel: http://127.0.0.1:$port/ (the one-file page: http://127.0.0.1:$port/vostrel.html)"
    exec python3 -m http.server --bind 127.0.0.1 --directory build/web/bin "$port"
fi

bash tools/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/bin/vostrel
