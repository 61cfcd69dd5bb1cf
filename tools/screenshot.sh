#!/usr/bin/env bash
# Makes docs/screenshot.png: the game window in the middle of a game, played under a virtual X
# server so no desktop is needed. Needs xvfb, xdotool, x11-utils and imagemagick.
# Usage: tools/screenshot.sh [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshot.png}")

cmake --preset release >/dev/null
cmake --build --preset release >/dev/null

# A copy of the application folder with one known word, so the same game is shown every time.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp build/release/bin/vostrel build/release/bin/*.bmp "$folder/"
echo keyboard >"$folder/h_dat.txt"

export folder out
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    set -euo pipefail
    "$folder/vostrel" & game=$!
    trap "kill $game" EXIT
    window=$(xdotool search --sync --onlyvisible --name "^Vostrel\$" | head -n 1)
    sleep 1
    # Controls are placed in twips (15 to a pixel) below the menu bar; the client area is 323
    # pixels high, so the rest of the window is the menu bar.
    height=$(xwininfo -id "$window" | sed -n "s/^ *Height: //p")
    menu=$((height - 323))
    click() {  # the letter button of $1, in its row of the keyboard of the window
        local index=$(($(printf "%d" "'\''$1") - 97)) first left top
        if ((index < 11)); then first=0 left=3720 top=2280
        elif ((index < 20)); then first=11 left=4080 top=2640
        else first=20 left=4680 top=3000; fi
        local x=$(((left + 360 * (index - first) + 175) / 15))
        local y=$(((top + 175) / 15 + menu))
        xdotool mousemove --window "$window" "$x" "$y" click 1
        sleep 0.2
    }
    for letter in e s a t o m r i n; do click "$letter"; done
    xdotool mousemove 799 599  # the pointer out of the picture
    sleep 0.5
    import -window "$window" png:- | convert - -strip "$out"
'
echo "Wrote $out"
