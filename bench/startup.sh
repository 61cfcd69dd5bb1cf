#!/usr/bin/env bash
# Start-up of the game under Xvfb, against the same window with no game behind it (every control
# in place: menus, labels in their fonts, picture area, buttons; no word list, pictures or sizing)
# and, for scale, a bare Qt window with a label and 27 buttons and no menu bar. Reported: seconds
# from process start to the main window being mapped and to its first drawing, and peak resident
# memory. The programs take turns, so a busy machine slows all of them alike.
# Usage: bash bench/startup.sh [RUNS]   (default 7 of each; the medians are compared)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-7}
settle_ms=300 # after the map, time for the first paint, so peak memory includes it

if [ "${1:-}" != "--under-x" ]; then
    bash tools/deps.sh libbenchmark-dev libx11-dev libxdamage-dev xvfb xauth
    cmake --preset bench >/dev/null
    cmake --build --preset bench >/dev/null
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # The game finds its data beside the program file: a copy of it beside a long list.
    mkdir "$work/big"
    cp build/bench/bin/vostrel build/bench/bin/*.bmp "$work/big/"
    build/bench/bench/vostrel_bench --write-words 1000000 "$work/big/h_dat.txt"
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY bash "$0" --under-x "$runs" "$work"
    exit
fi

runs=$2
work=$3
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
watch=build/bench/bench/vostrel_mapwatch
declare -A programs=(
    [bare]=build/bench/bench/vostrel_bare
    [minimal]=build/bench/bench/vostrel_minimal
    [game]=build/bench/bin/vostrel
    [big]="$work/big/vostrel"
)
order=(bare minimal game big)

# One unrecorded start of each fills the file-system and font caches.
for name in "${order[@]}"; do
    "$watch" "$settle_ms" "${programs[$name]}" >/dev/null
done
for ((run = 1; run <= runs; run++)); do
    for name in "${order[@]}"; do
        "$watch" "$settle_ms" "${programs[$name]}" >>"$work/$name.txt"
    done
done

median() { # column of a results file
    awk -v c="$2" '{print $c}' "$1" | sort -g | awk '{v[NR] = $1}
        END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
for name in "${order[@]}"; do
    declare "t_$name=$(median "$work/$name.txt" 1)"
    declare "p_$name=$(median "$work/$name.txt" 2)"
    declare "m_$name=$(median "$work/$name.txt" 3)"
done

awk -v runs="$runs" -v tw="$t_bare" -v tm="$t_minimal" -v tg="$t_game" -v tb="$t_big" \
    -v pw="$p_bare" -v pm="$p_minimal" -v pg="$p_game" -v pb="$p_big" \
    -v mw="$m_bare" -v mm="$m_minimal" -v mg="$m_game" -v mb="$m_big" 'BEGIN {
    printf "Medians of %d runs under Xvfb, from process start\n", runs
    printf "  %-30s %13s %13s %12s\n", "", "window mapped", "first drawn", "peak memory"
    row("bare window, no menu bar", tw, pw, mw)
    row("minimal: game controls only", tm, pm, mm)
    row("game, shipped word list", tg, pg, mg)
    row("game, 1,000,000 words", tb, pb, mb)
    verdict = 0
    verdict += check("map, shipped list", tg / tm, "x minimal", "1.2", tg / tm <= 1.2)
    verdict += check("map, 1,000,000 words", tb / tm, "x minimal", "2", tb / tm <= 2)
    printf "  %-30s %6.2f x minimal, %.2f x with 1,000,000 words\n", "first drawn, shipped list",
        pg / pm, pb / pm
    printf "  %-30s %6.2f x bare, %.2f x with 1,000,000 words; drawn %.2f x\n",
        "for scale: map, shipped list", tg / tw, tb / tw, pg / pw
    exit verdict > 0
}
function row(what, mapped, drawn, kib) {
    printf "  %-30s %11.3f s %11.3f s %8.1f MiB\n", what, mapped, drawn, kib / 1024
}
function check(what, value, unit, target, ok) {
    printf "  %-30s %6.2f %-10s (target %s)  %s\n", what, value, unit, target, ok ? "ok" : "MISSED"
    return !ok
}'
