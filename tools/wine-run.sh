#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix, quietly and without touching HOME.
# Sourced, it only sets up that environment.
export WINEPREFIX="${WINEPREFIX:-/tmp/vostrel-wine-$(id -u)}"
export WINEDEBUG="${WINEDEBUG:--all,err+module}"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export DISPLAY=
[ "${BASH_SOURCE[0]}" != "$0" ] && return 0

# Wine may start background services along with the program, and they inherit its output. Were
# that ctest's pipe, ctest would wait for them until its timeout although the program had ended;
# so the program writes to a file, shown once it ends.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
wine "$@" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
exit "$status"
