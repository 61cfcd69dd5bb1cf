#!/usr/bin/env bash
# Plays the game with the Orca screen reader as a blind player would, keyboard only, and checks
# what Orca says after each key: a win, Reset & Start, and a loss, on a one-word list. Runs under
# a virtual X server with a D-Bus session, accessibility bus and speech server of its own (speech
# goes nowhere), in throwaway home and runtime folders; every process it starts ends with it.
# Usage: tools/test-orca.sh [program]   (default build/dev/bin/vostrel, built first)
#        tools/test-orca.sh web         the web page (build/web/bin) in Chromium, built first
# With ORCA_TEST_LOGS=folder, the logs (Orca's debug file among them) are copied there at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

# Sends a signal to processes (ids, or -group ids) and waits until they are gone; after five
# seconds they are killed.
stop() {
    local signal=$1 deadline=$((SECONDS + 5))
    shift
    kill "-$signal" -- "$@" 2>/dev/null || true
    while kill -0 -- "$@" 2>/dev/null; do
        if ((SECONDS > deadline)); then
            kill -KILL -- "$@" 2>/dev/null || true
            break
        fi
        sleep 0.05
    done
    return 0  # run from a trap, a bare return would give the status from before the trap
}

if [ "${1:-}" != --inside ]; then
    bash tools/deps.sh orca speech-dispatcher espeak-ng xvfb xdotool at-spi2-core dbus-daemon \
        dbus-bin
    if [ "${1:-}" = web ]; then
        bash tools/deps.sh emscripten nlohmann-json3-dev chromium python3
        cmake --preset web >/dev/null
        cmake --build --preset web >/dev/null
        set -- build/web/bin/index.html
    elif [ $# -eq 0 ]; then
        [ -f build/dev/CMakeCache.txt ] || cmake --preset dev >/dev/null
        cmake --build --preset dev --target vostrel vostrel_data >/dev/null
    fi
    program=$(realpath "${1:-build/dev/bin/vostrel}")
    work=$(mktemp -d)
    # A session of its own, so one signal to its process group ends everything started in it but
    # Orca, which has a terminal and so a session of its own, and is ended by its number.
    # The session bus's complaints go to a log, the script's own output comes through 7 and 8.
    mkdir "$work/logs"
    setsid dbus-run-session -- bash "$0" --inside "$work" "$program" \
        7>&1 8>&2 >"$work/logs/dbus.log" 2>&1 &
    inside=$!
    # Orca first, while the buses it says goodbye on are still there, then all the rest. Orca is
    # stopped from inside the session already; this is for an interrupted run.
    # shellcheck disable=SC2317
    cleanup() {
        local status=$?
        if [ -s "$work/orca.pid" ]; then
            stop TERM "$(cat "$work/orca.pid")"
        fi
        stop TERM -"$inside"
        if [ -n "${ORCA_TEST_LOGS:-}" ]; then
            mkdir -p "$ORCA_TEST_LOGS"
            cp -r "$work/logs/." "$ORCA_TEST_LOGS/"
        fi
        rm -rf "$work"
        exit "$status"
    }
    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM HUP
    wait "$inside"
    exit
fi

# From here on, inside the private D-Bus session. Each server started here writes to a log.
exec >&7 2>&8 7>&- 8>&-
work=$2
program=$3
started=$(date +%s%N)
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/run GSETTINGS_BACKEND=memory
export QT_QPA_PLATFORM=xcb
unset AT_SPI_BUS_ADDRESS SPEECHD_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/app" "$work/speechd/modules"
chmod 700 "$XDG_RUNTIME_DIR"
# Our own timestamps go to a file of our own: Orca writes its debug file from its own offset, so
# lines put in there would be overwritten. The two are merged by time.
keys=$work/logs/keys.log
said=$work/logs/orca-debug.out

# The game in an application folder of its own, with one word.
web=
if [[ $program == *.html ]]; then
    web=1
    cp "$(dirname "$program")"/* "$work/app/"
else
    cp "$program" "$work/app/vostrel"
    cp "$(dirname "$program")"/*.bmp "$work/app/"
fi
echo ly >"$work/app/h_dat.txt"

now() { date +%H:%M:%S.%6N; }
ms() { echo $((($(date +%s%N) - started) / 1000000)); }

# Waits up to $1 seconds for the command that follows to succeed.
await() {
    local deadline=$(($(date +%s%N) + $1 * 1000000000))
    shift
    until "$@" >/dev/null 2>&1; do
        if (($(date +%s%N) > deadline)); then
            echo "Timed out waiting for: $*" >&2
            return 1
        fi
        sleep 0.05
    done
}

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/logs/xvfb.log" 2>&1 &
await 10 test -s "$work/display"
DISPLAY=:$(cat "$work/display")
export DISPLAY

# The accessibility bus, started as the session bus would start it on demand.
launcher=$(sed -n 's/^Exec=//p' /usr/share/dbus-1/services/org.a11y.Bus.service)
$launcher --launch-immediately >"$work/logs/at-spi.log" 2>&1 &
bus_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
await 10 bus_up

# Speech Dispatcher with eSpeak NG speaking into /dev/null and ALSA's null device for sound
# icons: Orca gets a real speech server, the machine needs no sound card.
cat >"$work/speechd/speechd.conf" <<'EOF'
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng-null" "sd_generic" "espeak-ng-null.conf"
DefaultModule espeak-ng-null
EOF
cat >"$work/speechd/modules/espeak-ng-null.conf" <<'EOF'
GenericExecuteSynth "printf %s \'$DATA\' | espeak-ng -v $VOICE -s $RATE -p $PITCH --stdin -w /dev/null"
GenericCmdDependency "espeak-ng"
GenericLanguage "en" "en-us" "utf-8"
AddVoice "en" "MALE1" "en-us"
DefaultVoice "en-us"
EOF
mkdir -p "$XDG_RUNTIME_DIR/speech-dispatcher"
speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" \
    --socket-path "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" --log-dir "$work/logs" \
    >"$work/logs/speechd.out" 2>&1 &
await 10 test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock"

# Orca will not start while another Orca of the same user runs, in whatever session.
if pgrep -u "$(id -u)" -x orca >/dev/null; then
    echo "Orca is already running for this user, and a second one would not start." >&2
    exit 1
fi
# In a page, Orca starts reading it all aloud once it is loaded, and its reading takes the focus
# along: a player who came to play turns that off. The rest is Orca's defaults.
if [ -n "$web" ]; then
    mkdir -p "$XDG_DATA_HOME/orca"
    cat >"$XDG_DATA_HOME/orca/user-settings.conf" <<'EOF'
{"general": {}, "pronunciations": {}, "keybindings": {},
 "profiles": {"default": {"profile": ["Default", "default"], "sayAllOnLoad": false}}}
EOF
fi
# Orca writes its debug file through a block buffer, but to a terminal a line at a time: so it
# writes to a pseudo-terminal, and script(1) copies what comes there to the file at once.
# shellcheck disable=SC2317
stop_orca() { [ ! -s "$work/orca.pid" ] || stop TERM "$(cat "$work/orca.pid")"; }
trap stop_orca EXIT
script --quiet --flush --command "echo \$\$ >'$work/orca.pid'
    exec orca --disable braille --debug-file=/dev/tty >'$work/logs/orca.log' 2>&1" "$said" \
    </dev/null >/dev/null 2>&1 &
await 20 grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$said"
if ! grep -q 'SPEECH: Using speech server factory: speechdispatcherfactory' "$said"; then
    echo "Orca found no speech server" >&2
    exit 1
fi

secs() { awk -F: '{ printf "%.6f\n", $1 * 3600 + $2 * 60 + $3 }' <<<"$1"; }  # of HH:MM:SS.micro
day_start=$(secs "$(now)")

# Each utterance in Orca's debug file: its time, a tab, its words. The terminal ended its lines
# with CR LF.
spoken() {
    local line="^([0-9:.]+) - SPEECH OUTPUT: '(.*)'( voice=[^{]*)? ?(\{.*)?$"
    tr -d '\r' <"$said" | sed -nE "s/$line/\1\t\2/p"
}

# What Orca has said since the time $1, one utterance a line. Left out: key echo ("tab ",
# "space ") and the full stop Orca adds where it pauses.
heard_since() {
    spoken |
        awk -F'\t' -v since="$(secs "$1")" -v start="$day_start" '
            function secs(t, a) { split(t, a, ":"); return a[1] * 3600 + a[2] * 60 + a[3] }
            function day(s) { return s < start - 43200 ? s + 86400 : s }  # past midnight
            day(secs($1)) >= day(since) && $2 !~ / $/ { sub(/\.$/, "", $2); print $2 }'
}

# Our own key log and Orca's speech, merged by time.
transcript() {
    {
        spoken | sed 's/\t/   said: /'
        sed -E 's/^([0-9:.]+) KEY /\1 pressed: /' "$keys"
    } | sort
}

step=0
fail() {
    echo "FAIL at step $step ($1): $2" >&2
    echo "  expected:" >&2
    printf '    "%s"\n' "${expected[@]}" >&2
    echo "  heard:" >&2
    printf '    "%s"\n' "${heard[@]}" >&2
    echo "What was pressed and said, by time:" >&2
    transcript | sed 's/^/  /' >&2
    exit 1
}

# Waits until Orca has said exactly the expected utterances, in order, since time $2; anything
# else, or the same twice, fails at once. What comes late shows up in the next step's words.
# The last $loose expected utterances may come in any order among themselves.
loose=0
expect_since() {
    local what=$1 since=$2
    shift 2
    expected=("$@")
    local deadline=$(($(date +%s%N) + 5000000000)) fixed=$((${#expected[@]} - loose))
    while :; do
        mapfile -t heard < <(heard_since "$since")
        local i j
        for ((i = 0; i < ${#heard[@]}; i++)); do
            for ((j = 0; j < i; j++)); do
                [ "${heard[j]}" != "${heard[i]}" ] || fail "$what" "\"${heard[i]}\" said twice"
            done
            if ((i >= ${#expected[@]})); then
                fail "$what" "heard something else"
            elif ((i < fixed)) && [ "${heard[i]}" != "${expected[i]}" ]; then
                fail "$what" "heard something else"
            elif ((i >= fixed)) && ! printf '%s\n' "${expected[@]:fixed}" | grep -qxF -- "${heard[i]}"; then
                fail "$what" "heard something else"
            fi
        done
        ((${#heard[@]} == ${#expected[@]})) && return 0
        (($(date +%s%N) > deadline)) && fail "$what" "not heard within 5 s"
        sleep 0.05
    done
}

press() {
    local key=$1
    shift
    step=$((step + 1))
    local at
    at=$(now)
    echo "$at KEY $key" >>"$keys"
    xdotool key "$key"
    expect_since "$key" "$at" "$@"
}

touch "$keys"
at=$(now)
if [ -n "$web" ]; then
    # The page from a server of its own, in a Chromium window of its own whose accessibility is on
    # from the start (it otherwise waits to be asked). The page's end of a game comes as an alert
    # too, after the news of the guess.
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/app" \
        >"$work/logs/http.log" 2>&1 &
    await 10 grep -q 'port [0-9]' "$work/logs/http.log"
    port=$(sed -nE 's/.* port ([0-9]+).*/\1/p' "$work/logs/http.log" | head -n 1)
    chromium --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --force-renderer-accessibility --user-data-dir="$work/chromium" --window-size=800,600 \
        --app="http://127.0.0.1:$port/" >"$work/logs/chromium.log" 2>&1 &
    won=("You've got it !")
    lost=("You are hunged !")
    ending=2  # the news of the guess and the alert, in either order
else
    "$work/app/vostrel" >"$work/logs/vostrel.log" 2>&1 &
    won=()
    lost=()
    ending=0
fi
find_window() { xdotool search --onlyvisible --name '^Vostrel$' | head -n 1 | grep .; }
await 30 find_window
# No window manager here: give the window the keyboard as one would.
xdotool windowfocus --sync "$(find_window)"
if [ -n "$web" ]; then
    # Chromium's words on loading a page come in no fixed order, and Orca, done with the page's
    # load, may speak the focused control again: the page is ready once Orca has handled the
    # load, its focus is on Exit, and it has said so since it last moved.
    settled() {
        tr -d '\r' <"$said" | awk '
            /\^\^\^\^\^ PROCESS OBJECT EVENT document:load-complete/ { loaded = 1 }
            /ORCA: Changing locusOfFocus from/ { exit_focused = /to \[push button \| Exit\]/; spoken = 0 }
            /SPEECH OUTPUT: .Exit push button/ { spoken = exit_focused }
            END { exit !(loaded && exit_focused && spoken) }'
    }
    await 30 settled
else
    expect_since "start" "$at" "Vostrel frame" "Exit push button"
fi

# A win: the focus moves on from each letter found, and to Reset & Start at the end.
press Tab "l push button"
press space "z push button" "l found. Word: l, blank"
press space "z missed. 9 tries left"
press Tab "y push button"
loose=$ending press space "Reset & Start push button" "y found. Word: l, y. You've got it !" \
    "${won[@]}"
press space "New game: a word of 2 letters"
# A loss: a missed letter stays where it is, so it can be pressed ten times.
press shift+Tab "a push button"
for left in 9 8 7 6 5 4 3 2; do
    press space "a missed. $left tries left"
done
press space "a missed. 1 try left"
loose=$ending press space "Reset & Start push button" "a missed. You are hunged ! Answer: ly" \
    "${lost[@]}"
last=$(tail -n 1 "$keys" | cut -d' ' -f1)
# Nothing more may follow the last words.
sleep 1
loose=$ending expect_since "after the last key" "$last" "Reset & Start push button" \
    "a missed. You are hunged ! Answer: ly" "${lost[@]}"

echo "Orca said what was expected after all $step keys ($(ms) ms in the session)."
