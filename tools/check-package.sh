#!/usr/bin/env bash
# Does what a packager does first: builds with the plain commands, no preset and no option (so
# warnings are no errors), and runs the tests. Then packs that build for Debian and checks the
# package as Debian would: lintian must report no error and no warning, and the manual page must
# render without a single warning.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh lintian man-db groff-base dpkg-dev file

build=build/plain
cmake -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure
rm -f "$build"/vostrel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vostrel_*.deb)
status=0

echo "lintian $(basename "$deb")"
# The findings come on standard output. Run as root, lintian also says so; that is no finding.
report=$(lintian --fail-on error,warning "$deb" \
    2> >(grep -v -x 'running with root privileges is not recommended!' >&2)) || status=1
if [ -n "$report" ]; then
    echo "$report"
    status=1
fi

page=$build/packaging/docs/vostrel.6.gz
echo "man $(basename "$page")"
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null) ||
    status=1
if [ -n "$warnings" ]; then
    echo "$warnings"
    status=1
fi

exit "$status"
