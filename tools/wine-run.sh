#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix, quietly and without touching HOME.
# Sourced, it only sets up that environment and defines take_wine_prefix. VOSTREL_WINEPREFIX names
# another prefix than the default, for a second checkout on the same machine.
# Usage: wine-run.sh <program> [argument ...] | --prepare | --end
export WINEPREFIX="${VOSTREL_WINEPREFIX:-/tmp/vostrel-wine-$(id -u)}"
export WINEDEBUG="${WINEDEBUG:--all,err+module}"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export DISPLAY=

# Gives a running prefix the Japanese fonts a Windows machine has, Debian's IPA Gothic and P
# Gothic, and the font link that has the system's font draw kana and kanji in them, as Windows
# links its own: in message boxes, title bars and every control of the default font.
give_japanese_fonts() {
    local fonts=/usr/share/fonts/opentype/ipafont-gothic
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -u "$fonts/ipag.ttf" "$fonts/ipagp.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f </dev/null >/dev/null 2>&1
}

# Makes the prefix if need be and starts its server and background services, so that they do not
# hold the output of the first program run. Windows need no display under Wine's null graphics
# driver; it is set before the server that runs the programs starts, as a server keeps the driver
# it started with.
prepare_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i </dev/null >/dev/null 2>&1
        wineserver -w
    fi
    if ! grep -q '^"Graphics"="null"' "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
        wineserver -w
    fi
    # A server already running (from the steps above, or another program) is kept.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    give_japanese_fonts
    wine wineboot </dev/null >/dev/null 2>&1
}

# Gives the prefix to the calling script alone until it ends (its programs write the same registry
# values), ends the prefix's server then, and prepares the prefix. Commands that may start Wine's
# server must be run with 9>&-: a server that inherited the lock would hold it.
take_wine_prefix() {
    exec 9>"$WINEPREFIX.lock"
    flock 9
    trap 'wineserver -k 9>&- 2>/dev/null || true' EXIT
    prepare_wine_prefix 9>&-
}

[ "${BASH_SOURCE[0]}" != "$0" ] && return 0

case ${1-} in
--prepare)  # ctest's fixture, before the first program
    prepare_wine_prefix
    exit
    ;;
--end)  # and after the last
    wineserver -k 2>/dev/null || true
    exit 0
    ;;
esac

# A prefix nobody prepared has no display driver, so a window program would wait for its windows
# until a timeout: this says why at once.
if ! grep -qs '^"Graphics"="null"' "$WINEPREFIX/user.reg"; then
    echo "FAIL: the Wine prefix $WINEPREFIX is not prepared (no null graphics driver):" \
        "ctest's wine_prefix fixture or tools/check-windows.sh prepares it"
    exit 1
fi

# Wine may start background services along with the program, and they inherit its output. Were
# that ctest's pipe, ctest would wait for them until its timeout although the program had ended;
# so the program writes to a file, shown once it ends.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
wine "$@" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
exit "$status"
