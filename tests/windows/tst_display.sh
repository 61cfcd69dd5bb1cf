#!/usr/bin/env bash
# Plays the Windows game as a player meets it: Wine's X11 driver on a private Xvfb, a Wine virtual
# desktop, real keys and mouse clicks from xdotool. After every step it checks where the keyboard
# focus is, that the screen shows exactly what a full repaint of the windows draws, and that no
# text shows a character as a box; it changes the pixel density as Windows does, and drags the
# window small. The screenshots of a failing step are kept in a folder the failure names; with
# VOSTREL_DISPLAY_SHOTS=folder, every screen is kept there.
# Usage: tst_display.sh <vostrel.exe> <display_helper.exe>
set -uo pipefail

program=$1
helper=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/vostrel-display.XXXXXX")
kept="$PWD/tst_display-screens"
rm -rf "$kept"

for tool in Xvfb xdotool import compare wine; do
    command -v "$tool" >/dev/null || {
        echo "FAIL: $tool is missing (bash tools/deps.sh xvfb xdotool imagemagick wine)"
        exit 1
    }
done

# A prefix of its own, made with the display present, whose programs all share one virtual
# desktop: the null-driver prefix of the other tests keeps its driver for good. It has the
# Japanese fonts a Windows machine has.
source "$(dirname "$0")/../../tools/wine-run.sh"
# VOSTREL_DISPLAY_WINEPREFIX names another, for a second checkout on the same machine.
export WINEPREFIX="${VOSTREL_DISPLAY_WINEPREFIX:-/tmp/vostrel-wine-display-$(id -u)}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" LANG=C.UTF-8
exec 9>"$WINEPREFIX.lock"
flock 9
trap '' PIPE  # a helper gone is a failed answer, not the end of the run
xvfb=
cleanup() {
    wineserver -k 9>&- >/dev/null 2>&1
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM  # and so through the cleanup

# Polls `condition` until it holds or 30 s have passed.
within30s() {
    local start=$SECONDS
    until "$@"; do
        ((SECONDS - start < 30)) || return 1
        sleep 0.05
    done
}

Xvfb -displayfd 7 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 7>"$work/display" 9>&- \
    >"$work/xvfb.log" 2>&1 &
xvfb=$!
within30s test -s "$work/display" || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"

{
    if ! grep -qs '^"Default"="1024x768"' "$WINEPREFIX/user.reg"; then
        wineboot -i
        wineserver -w
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
        wineserver -w
    fi
    wineserver -p
    give_japanese_fonts
    wine wineboot
} </dev/null >"$work/wine.log" 2>&1 9>&-

coproc helper_io { wine "$helper" 2>>"$work/wine.log" 9>&-; }

# The run is told in parts. A failed check is counted; one that leaves the game where the part
# cannot go on (the focus or a caption not as the step should leave them) skips the rest of it.
failures=0
part=
step=
lost=
shots=0
fail() {
    echo "FAIL: $part: $step: $*"
    failures=$((failures + 1))
}
lose() {
    fail "$@"
    lost=1
    echo "  (the rest of this part is skipped)"
}
# A new part starts from the game window alone, whatever the last one left open.
begin() {
    part=$1
    lost=
    ask close
}

# One question to the helper; its answer in $reply.
ask() {
    reply="(skipped)"
    [ -n "$lost" ] && return
    reply="(no answer from the helper)"
    [ -n "${helper_io[1]-}" ] && printf '%s\n' "$*" >&"${helper_io[1]}" &&
        IFS= read -r -t 60 reply <&"${helper_io[0]}"
    reply=${reply%$'\r'}
}

# Asks until the answer is `want`, for up to 30 s.
expect() {
    local what=$1 want=$2
    shift 2
    answered() {
        ask "$@"
        [ -n "$lost" ] || [ "$reply" = "$want" ]
    }
    within30s answered "$@" || lose "$what is \"$reply\", not \"$want\""
}
# Checks that leave the game as it was: the part goes on after them.
check() {
    local what=$1
    shift
    ask "$@"
    [ -n "$lost" ] || [ "$reply" = ok ] || fail "$what: $reply"
}

focus() { expect "the focus" "$1" focus; }
shows() { expect "$1" "$2" text "$1"; }
key() { [ -n "$lost" ] || xdotool key --delay 50 "$@"; }
letter() { printf 'CMD_ALPHA(%d)' $(($(printf %d "'$1") - 97)); }
click() {
    ask rect "$1"
    IFS=x+ read -r width height left top <<<"$reply"
    [ -n "$lost" ] || xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 1
}
words() { printf '%s\r\n' "$@" >"$app/h_dat.txt"; }

# Screenshots into $1 until two in a row agree.
settled() {
    local start=$SECONDS
    import -display "$DISPLAY" -window root -depth 8 "ppm:$1.before"
    while ((SECONDS - start < 30)); do
        import -display "$DISPLAY" -window root -depth 8 "ppm:$1"
        cmp -s "$1" "$1.before" && return 0
        mv "$1" "$1.before"
    done
    return 1
}

# The screen as the step left it, then after a full repaint: a sound window looks the same.
screen() {
    [ -n "$lost" ] && return
    shots=$((shots + 1))
    local shown="$work/shown.ppm" repainted="$work/repainted.ppm" differ
    ask settle
    settled "$shown" || fail "the screen never settles"
    check "text shown as boxes" boxes "$shown"
    ask redraw
    settled "$repainted" || fail "the screen never settles after a full repaint"
    differ=$(compare -metric AE "$shown" "$repainted" null: 2>&1)
    # VOSTREL_DISPLAY_SHOTS=folder keeps every screen, to look at as a player would.
    if [ -n "${VOSTREL_DISPLAY_SHOTS:-}" ]; then
        mkdir -p "$VOSTREL_DISPLAY_SHOTS"
        convert "$shown" "$VOSTREL_DISPLAY_SHOTS/$(printf %02d "$shots") $part, ${step//\//-}.png"
    fi
    if [ "$differ" != 0 ]; then
        local folder="$kept/$(printf %02d "$shots") $part, ${step//\//-}"
        mkdir -p "$folder"
        convert "$shown" "$folder/shown.png"
        convert "$repainted" "$folder/repainted.png"
        compare "$shown" "$repainted" "$folder/difference.png" 2>/dev/null
        fail "the screen differs from a full repaint in $differ pixels (screenshots in $folder)"
    fi
}

# A picture area with the focus looks different from the same area unfocused, in $unfocused.
cue() {
    case $1 in
    HUNG_PICT | picIcon)
        ask rect "$1"
        [ -n "$lost" ] || [ "$(compare -metric AE -extract "$reply" "$unfocused" \
            "$work/shown.ppm" null: 2>&1)" != 0 ] || fail "no focus cue on $1"
        ;;
    esac
}

# Presses keys (blanks written "_"), then checks the focus, captions and screen, from a table:
# keys, the control with the focus, and label captions ("-" for any).
keys() {
    local keys focused word result
    while read -r keys focused word result; do
        step=${keys//_/ }
        key ${keys//_/ }
        focus "$focused"
        [ "${word:--}" = - ] || shows WORD_LABEL "$word"
        [ "${result:--}" = - ] || shows RESULT_LABEL "${result//_/ }"
        screen
        cue "$focused"
    done
}

# A caption cut to its two ends shows the start and the end of the whole text around "…".
ends() {
    local head=${1%%…*} tail=${1#*…}
    [[ $1 == *…* && $2 == "$head"* && $2 == *"$tail" ]]
}

app="$work/app folder"
mkdir -p "$app"
cp "$program" "$(dirname "$program")"/*.bmp "$app/"
unfocused="$work/unfocused.ppm"

part="start"
step="start"
words lazy
ask start "$app/vostrel.exe"
[ "$reply" = ok ] || { fail "the game shows no window: $reply"; exit 1; }
# Wine gives the X keyboard focus to the X window of the window it activates.
ask front
x_focus() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = Vostrel ]; }
within30s x_focus || fail "the game's window does not have the X keyboard focus"
focus cmdExit
check "out of place at 96 dpi" layout 96
screen
cp "$work/shown.ppm" "$unfocused"

# The keyboard's way through a won game: Tab and Shift+Tab round the tab order, past the found
# letters; a found letter hands the focus on, a missed one keeps it; the end, on Reset & Start.
begin "a won game by the keyboard"
keys <<'EOF'
Tab                             CMD_ALPHA(11) ???? -
shift+Tab                       cmdExit       -    -
shift+Tab                       HUNG_PICT     -    -
Tab                             cmdExit       -    -
Tab                             CMD_ALPHA(11) -    -
space                           CMD_ALPHA(25) l??? LEFT10
space                           CMD_ALPHA(24) l?z? -
space                           CMD_ALPHA(23) l?zy -
space                           CMD_ALPHA(23) l?zy LEFT_9
shift+Tab                       cmdExit       -    -
shift+Tab_shift+Tab_shift+Tab   CMD_ALPHA(0)  -    -
Return                          CMD_RESET     lazy You've_got_it_!
EOF

begin "a lost game by the keyboard"
words quiz
keys <<'EOF'
space                           CMD_RESET     ???? LEFT10
shift+Tab                       CMD_ALPHA(0)  -    -
EOF
for left in 9 8 7 6 5 4 3 2 1; do
    step="space, $left left"
    key space
    shows RESULT_LABEL "LEFT $left"
done
focus "CMD_ALPHA(0)"
keys <<'EOF'
space                           CMD_RESET     ???? You_are_hunged_!
EOF
shows ANSWER_LABEL quiz

# About by the menu's keys: its tab order, Enter on the icon, Esc, Alt+S and its message, and
# the focus back where it was.
begin "About by the keyboard"
step="Alt+H, A"
ask focus
before=$reply
key alt+h a
focus cmdOK
check "out of place at 96 dpi" layout 96
screen
cp "$work/shown.ppm" "$unfocused"
keys <<EOF
Tab         picIcon
Tab         cmdSysInfo
Tab         cmdOK
Tab_Tab     cmdSysInfo
Tab_Tab     picIcon
Return      $before
alt+h_a     cmdOK
Escape      $before
alt+h_a     cmdOK
EOF
step="alt+s"
key alt+s
expect "the message" "現時点ではｼｽﾃﾑ情報を使用できません" text message
screen
# Enter presses the focused button: the message's OK, then the message again, and its OK.
keys <<EOF
Return      cmdOK
Tab_Tab     cmdSysInfo
Return      elsewhere
Return      cmdSysInfo
Escape      $before
EOF

# Labels growing and shrinking under the mouse: a long word, a short one, a win and a loss.
begin "the mouse"
while read -r file clicks word result answer; do
    step="${clicks//,/, }"
    [ "$file" = - ] || words "$file"
    for name in ${clicks//,/ }; do
        [ ${#name} = 1 ] && name=$(letter "$name")
        click "$name"
    done
    shows WORD_LABEL "$word"
    shows RESULT_LABEL "${result//_/ }"
    shows ANSWER_LABEL "${answer#-}"
    screen
done <<'EOF'
abracadabra CMD_RESET       ??????????? LEFT10           -
cat         CMD_RESET       ???         LEFT10           -
-           c               c??         LEFT10           -
-           a,t             cat         You've_got_it_!  -
-           CMD_RESET,b,d,e ???         LEFT_7           -
-           f,g,h,i,j,k,l   ???         You_are_hunged_! cat
EOF

# A new pixel density, as Windows announces it, with captions cut to their two ends: the
# controls go where the definitions put them, the captions show the ends of the whole texts,
# and back at the first density they show what they first showed.
begin "pixel density"
long=pneumonoultramicroscopicsilicovolcanoconiosisantiestablishmentar  # 64 letters, the most
masked=${long//?/?}
words "$long"
step="a long word lost at 96 dpi"
for name in CMD_RESET d f g j k q w x y z; do
    [ ${#name} = 1 ] && name=$(letter "$name")
    click "$name"
done
shows RESULT_LABEL "You are hunged !"
ask text ANSWER_LABEL
answer96=$reply
ask text WORD_LABEL
word96=$reply
while read -r dpi step; do
    [ "$step" = "at first" ] || ask dpi "$dpi"
    check "out of place" layout "$dpi"
    ask rect HUNG_PICT
    side=$((200 * dpi / 96 + 2))  # the pictures and a frame of one pixel
    [ -n "$lost" ] || [[ $reply == "${side}x$side+"* ]] || fail "the picture area is $reply"
    ask text ANSWER_LABEL
    [ -n "$lost" ] || ends "$reply" "$long" || fail "the answer shows \"$reply\""
    ask text WORD_LABEL
    [ -n "$lost" ] || ends "$reply" "$masked" || fail "the word shows \"$reply\""
        screen
done <<'EOF'
96  at first
144 at 144 dpi
96  back at 96 dpi
EOF
shows ANSWER_LABEL "$answer96"
shows WORD_LABEL "$word96"

# The window dragged by its corner, larger first (so the drag is seen to work), then far smaller
# than its controls.
begin "the window dragged"
drag() {
    ask rect frmMain
    IFS=x+ read -r width height left top <<<"$reply"
    [ -n "$lost" ] || xdotool mousemove $((left + width - 2)) $((top + height - 2)) mousedown 1 \
        mousemove --sync "$1" "$2" mouseup 1
}
# Waits for the client area to be other than $1.
resized() {
    ask client
    [ -n "$lost" ] || [ "$reply" != "$1" ]
}
for corner in "700 500" "100 100"; do
    step="to $corner"
    ask client
    size=$reply
    drag $corner
    within30s resized "$size" || lose "the window keeps its size"
    read -r width height <<<"$reply"
    [ -n "$lost" ] || ((width >= 532 && height >= 323)) || fail "the client area is $width x $height"
    screen
done

begin "Exit"
step="a click"
click cmdExit
expect "the exit code" 0 end

echo "$failures failed checks, $shots screens compared"
[ "$failures" -eq 0 ]
