#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix, quietly and without touching HOME.
# Sourced, it only sets up that environment.
export WINEPREFIX="${WINEPREFIX:-/tmp/vostrel-wine-$(id -u)}"
export WINEDEBUG="${WINEDEBUG:--all,err+module}"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export DISPLAY=
[ "${BASH_SOURCE[0]}" != "$0" ] && return 0
exec wine "$@"
