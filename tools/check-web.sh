#!/usr/bin/env bash
# The game as a web page: installs emscripten, Chromium and npm when they are missing, and the
# browser tests' modules as tests/web/package-lock.json pins them; builds the page (preset web),
# plays it in headless Chromium (ctest) and with Orca in Chromium, and makes
# vostrel-<version>-web.zip in build/web.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten nlohmann-json3-dev chromium)
command -v npm >/dev/null || packages+=(npm)
bash tools/deps.sh "${packages[@]}"
# npm checks the registry's certificate against node's own list unless told of the system's.
if [ -z "${NODE_EXTRA_CA_CERTS:-}" ] && [ -f /etc/ssl/certs/ca-certificates.crt ]; then
    export NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt
fi
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

cmake --preset web >/dev/null
cmake --build --preset web
(cd build/web && cpack -G ZIP >/dev/null && echo "web: $(ls -1 vostrel-*-web.zip)")
bash tools/test-orca.sh web
ctest --preset web
