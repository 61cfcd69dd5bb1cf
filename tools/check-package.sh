#!/usr/bin/env bash
# Builds the release preset's Debian package and checks it as Debian would: lintian must report
# no error and no warning, and the manual page must render without a single warning.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh lintian man-db groff-base dpkg-dev file

cmake --preset release >/dev/null
cmake --build --preset release
rm -f build/release/vostrel_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/vostrel_*.deb)
status=0

echo "lintian $(basename "$deb")"
# The findings come on standard output. Run as root, lintian also says so; that is no finding.
report=$(lintian --fail-on error,warning "$deb" \
    2> >(grep -v -x 'running with root privileges is not recommended!' >&2)) || status=1
if [ -n "$report" ]; then
    echo "$report"
    status=1
fi

page=build/release/packaging/docs/vostrel.6.gz
echo "man $(basename "$page")"
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null) ||
    status=1
if [ -n "$warnings" ]; then
    echo "$warnings"
    status=1
fi

exit "$status"
