#!/usr/bin/env bash
# Plays the Windows game as a player meets it: Wine's X11 driver on a private Xvfb, a Wine virtual
# desktop, real keys and mouse clicks from xdotool. It checks the windows against the design's
# acceptance tables, walks the tab order with the Tab key, and plays every row of the keys table
# that holds on Windows. After every step it checks where the keyboard focus is and which button
# is framed as the one Enter presses; at every screen, that it shows exactly what a full repaint
# of the windows draws and that no text shows a character as a box. It plays a large picture,
# minimising and restoring, a new pixel density as Windows announces it, and drags the window
# small. The screenshots of a failing step are kept in a folder the failure names; with
# VOSTREL_DISPLAY_SHOTS=folder, every screen is kept there.
# Usage: tst_display.sh <vostrel.exe> <display_helper.exe>
set -uo pipefail

program=$1
helper=$2
tables="$(dirname "$0")/../acceptance"
work=$(mktemp -d "${TMPDIR:-/tmp}/vostrel-display.XXXXXX")
kept="$PWD/tst_display-screens"
rm -rf "$kept"

for tool in Xvfb xdotool import compare convert wine; do
    command -v "$tool" >/dev/null || {
        echo "FAIL: $tool is missing (bash tools/deps.sh xvfb xdotool imagemagick wine)"
        exit 1
    }
done

# A prefix of its own, made with the display present, whose programs all share one virtual
# desktop: the null-driver prefix of the other tests keeps its driver for good. It has the
# Japanese fonts a Windows machine has. VOSTREL_DISPLAY_WINEPREFIX names another, for a second
# checkout on the same machine.
source "$(dirname "$0")/../../tools/wine-run.sh"
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
# The same for what a step should bring about: VOSTREL_DISPLAY_WAIT=seconds waits shorter, to see a
# planted fault fail sooner.
within() {
    local start=$SECONDS
    until "$@"; do
        ((SECONDS - start < ${VOSTREL_DISPLAY_WAIT:-30})) || return 1
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
    within answered "$@" || lose "$what is \"$reply\", not \"$want\""
}
# Checks that leave the game as it was: the part goes on after them.
check() {
    local what=$1
    shift
    ask "$@"
    [ -n "$lost" ] || [ "$reply" = ok ] || fail "$what: $reply"
}

# The default frame marks the button Enter presses: the focused one, else About's OK.
framed() {
    local want=none
    case $1 in
    CMD_* | cmd*) want=$1 ;;
    picIcon) want=cmdOK ;;
    elsewhere) return ;;  # a message box has it
    esac
    expect "the framed button" "$want" framed
}
focus() {
    expect "the focus" "$1" focus
    framed "$1"
}
shows() { expect "$1" "$2" text "$1"; }
key() { [ -n "$lost" ] || xdotool key --delay 50 "$@"; }
letter() { printf 'CMD_ALPHA(%d)' $(($(printf %d "'$1") - 97)); }
# A control by the keys table's name: a letter by its letter.
named() { if [ ${#1} = 1 ]; then letter "$1"; else printf %s "$1"; fi; }
centre() {
    [ -n "$lost" ] && return
    ask rect "$1"
    IFS=x+ read -r width height left top <<<"$reply"
    x=$((left + width / 2))
    y=$((top + height / 2))
}
click() {
    centre "$1"
    [ -n "$lost" ] || xdotool mousemove "$x" "$y" click 1
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

# The screen as the step left it, then after a full repaint: a sound window looks the same, and
# no text shows a box in place of a character.
shown="$work/shown.ppm"
screen() {
    [ -n "$lost" ] && return
    shots=$((shots + 1))
    local repainted="$work/repainted.ppm" differ
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
designed() { check "not as designed at $1 dpi" design "$1" "$shown"; }

# A picture area with the focus looks different from the same area unfocused, in $unfocused.
cue() {
    case $1 in
    HUNG_PICT | picIcon)
        ask rect "$1"
        [ -n "$lost" ] || [ "$(compare -metric AE -extract "$reply" "$unfocused" \
            "$shown" null: 2>&1)" != 0 ] || fail "no focus cue on $1"
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

# The tab order as the Tab key walks it from the first control round to it again, against the
# windows table's.
walk() {
    local order
    order=($(taborder "$1"))
    for name in "${order[@]}" "${order[0]}"; do
        step="Tab round, at $name"
        focus "$(named "$name")"
        key Tab
    done
    key shift+Tab
}
taborder() { awk -F'\t' -v w="$1" '$1 == w { print $8 }' "$tables/windows.tsv"; }

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
screen
designed 96
cp "$shown" "$unfocused"
walk frmMain

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

# A lost game by the keyboard, its labels in the window's colours as it ends.
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
check "the labels' colours" colours "$shown"

# About by the menu's keys: as designed, its tab order, Enter on the icon, Esc, Alt+S and its
# message, and the focus back where it was.
begin "About by the keyboard"
step="Alt+H, A"
ask focus
before=$reply
key alt+h a
focus cmdOK
screen
designed 96
cp "$shown" "$unfocused"
walk frmAbout
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

# Every row of the keys table that holds on Windows, in a fresh game of the word "moon", the
# focus first brought to its control by the Tab key; About's rows with About opened over it.
begin "the keys table"
words moon
# Presses one of the table's keys as a player does; Key* is held down until the system repeats it.
press() {
    local name=${1//Ctrl/ctrl}
    name=${name//Shift/shift}
    name=${name//Alt/alt}
    name=${name//Enter/Return}
    name=${name//Space/space}
    if [[ $name == Click\(*\) ]]; then
        name=${name#Click(}
        name=${name%)}
        if [ "$name" = ground ]; then  # beneath Reset & Start, where nothing lies
            ask client
            IFS=x+ read -r _ _ x y <<<"$reply"
            [ -n "$lost" ] || xdotool mousemove $((x + 10)) $((y + 300)) click 1
        else
            click "$(named "$name")"
        fi
    elif [[ $name == *\* ]]; then
        [ -n "$lost" ] || xdotool keydown "${name%\*}" sleep 1 keyup "${name%\*}"
    else
        key "$name"
    fi
}
while IFS=$'\t' read -r on window before keys after result; do
    case $on in any | desktop | windows) ;; *) continue ;; esac
    lost=
    step="$window, $keys on $before"
    ask close
    click CMD_RESET
    order=($(taborder "$window"))
    start=CMD_RESET
    if [ "$window" = frmAbout ]; then
        ask about
        start=cmdOK
    fi
    want=$(named "$before")
    for ((at = 0; at < ${#order[@]}; ++at)); do
        [ "$(named "${order[at]}")" = "$start" ] && from=$at
        [ "$(named "${order[at]}")" = "$want" ] && to=$at
    done
    tabs=$(((to - from + ${#order[@]}) % ${#order[@]}))
    ((tabs == 0)) || key $(printf 'Tab %.0s' $(seq $tabs))
    focus "$want"
    for each in $keys; do
        press "$each"
    done
    sleep 0.3  # where a key changes nothing, it has had the time to change it
    if [ "$window" = frmAbout ]; then
        expect "About" "$result" state
        [ "$result" = message ] && key Return  # the message's OK
    else
        shows WORD_LABEL "${result%/*}"
        shows RESULT_LABEL "${result#*/}"
    fi
    if [ "$after" = menus ]; then
        expect "the menus" menus menus
        key Escape Escape
        expect "the menus" none menus
    elif [ "$after" != - ]; then
        focus "$(named "$after")"
    fi
done <"$tables/keys.tsv"
lost=

# Labels growing and shrinking under the mouse: a long word, a short one, a win and a loss.
begin "the mouse"
while read -r file clicks word result answer; do
    step="${clicks//,/, }"
    [ "$file" = - ] || words "$file"
    for name in ${clicks//,/ }; do
        click "$(named "$name")"
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

# A picture larger than the window, as a player may put one in the folder: it lies beneath the
# letters, Reset & Start and Exit, which are seen and take clicks.
begin "a large picture"
convert -size 600x400 xc:'#FF0000' "BMP3:$app/4.bmp"
words lazy
step="4 misses"
for name in CMD_RESET b c d e; do
    click "$(named "$name")"
done
shows RESULT_LABEL "LEFT 6"
ask rect HUNG_PICT
[[ $reply == 602x402+* ]] || fail "the picture area is $reply"
screen
for name in CMD_RESET cmdExit {a..z}; do
    centre "$(named "$name")"
    [ -n "$lost" ] || [ "$(convert "$shown" -crop "1x1+$x+$y" -depth 8 txt:- | grep -c FF0000)" = 0 ] ||
        fail "the picture hides $name"
done
step="a click on l"
click "$(letter l)"
shows WORD_LABEL "l???"
screen
cp "$(dirname "$program")/4.bmp" "$app/"

# Minimised and restored, the window comes back at its size with the focus where it was.
begin "minimised and restored"
words lazy
step="minimise, restore"
click CMD_RESET
key shift+Tab
focus "CMD_ALPHA(0)"
ask client
size=$reply
check "minimising" minimise
check "restoring" restore
expect "the client area" "$size" client
focus "CMD_ALPHA(0)"
screen

# A new pixel density, as Windows announces it: the windows as designed at each, with a short
# word; with a long one cut to its two ends, the captions show the ends of the whole texts, and
# back at the first density they show what they first showed.
begin "pixel density"
words lazy
click CMD_RESET
while read -r dpi step; do
    [ "$step" = "at first" ] || ask dpi "$dpi"
    screen
    designed "$dpi"
done <<'EOF'
96  at first
144 at 144 dpi
96  back at 96 dpi
EOF
long=pneumonoultramicroscopicsilicovolcanoconiosisantiestablishmentar  # 64 letters, the most
masked=${long//?/?}
words "$long"
step="a long word lost at 96 dpi"
for name in CMD_RESET d f g j k q w x y z; do
    click "$(named "$name")"
done
shows RESULT_LABEL "You are hunged !"
ask text ANSWER_LABEL
answer96=$reply
ask text WORD_LABEL
word96=$reply
while read -r dpi step; do
    [ "$step" = "at first" ] || ask dpi "$dpi"
    ask text ANSWER_LABEL
    [ -n "$lost" ] || ends "$reply" "$long" || fail "the answer shows \"$reply\""
    ask text WORD_LABEL
    [ -n "$lost" ] || ends "$reply" "$masked" || fail "the word shows \"$reply\""
    screen
    designed "$dpi"
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
    within resized "$size" || lose "the window keeps its size"
    IFS=x+ read -r width height _ <<<"$reply"
    [ -n "$lost" ] || ((width >= 532 && height >= 323)) || fail "the client area is $width x $height"
    screen
done

begin "Exit"
step="a click"
click cmdExit
expect "the exit code" 0 end

echo "$failures failed checks, $shots screens compared"
[ "$failures" -eq 0 ]
