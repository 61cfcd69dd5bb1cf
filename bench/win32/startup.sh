#!/usr/bin/env bash
# Start-up of the Windows program under Wine (null graphics driver), against a bare Win32 window
# holding the same controls and nothing behind them. Reported: seconds from process start to the
# first window shown and to the program waiting for input, peak memory, and the size of
# vostrel.exe. The programs take turns, so a busy machine slows both alike. Other builds of the
# game (copied beside the game's data) take their turns in the same rounds, each compared with
# the game: a way to weigh one change to its start in pairs.
# Usage: bash bench/win32/startup.sh [RUNS [OTHER.exe ...]]   (default 15 runs of each; medians)
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=${1:-15}
others=("${@:2}")
bash tools/deps.sh g++-mingw-w64-x86-64 wine wine64
source tools/wine-run.sh
take_wine_prefix

cmake --preset windows-bench >/dev/null 9>&-
cmake --build --preset windows-bench >/dev/null 9>&-
build=build/windows-bench
programs=("Z:$PWD/$build/bench/win32/vostrel_bare.exe" "Z:$PWD/$build/bin/vostrel.exe")
for other in "${others[@]}"; do
    cp "$other" "$build/bin/other-$(basename "$other")"
    programs+=("Z:$PWD/$build/bin/other-$(basename "$other")")
done
results=$(bash tools/wine-run.sh "$build/bench/win32/vostrel_watch.exe" "$runs" "${programs[@]}" \
    9>&- | tr -d '\r')
for other in "${others[@]}"; do
    rm -f "$build/bin/other-$(basename "$other")"
done
stripped=$(mktemp)
x86_64-w64-mingw32-strip -o "$stripped" "$build/bin/vostrel.exe"
size=$(stat -c %s "$stripped")
rm -f "$stripped"

echo "$results" | awk -v runs="$runs" -v size="$size" '
    { shown[NR] = $1; ready[NR] = $2; memory[NR] = $3; pairShown[NR] = $4; pairReady[NR] = $5
      name[NR] = $6 }
    END {
        if (NR < 2) { print "the watcher gave no figures"; exit 1 }
        printf "Medians of %d runs under Wine (null graphics driver), from process start\n", runs
        printf "  %-36s %12s %12s %12s\n", "", "window shown", "ready", "peak memory"
        printf "  %-36s %10.3f s %10.3f s %8.1f MiB\n", "bare window, same controls", shown[1], ready[1], memory[1]
        printf "  %-36s %10.3f s %10.3f s %8.1f MiB\n", "the game, shipped word list", shown[2], ready[2], memory[2]
        printf "  %-36s %10.2f x %10.2f x\n", "the game against the bare window", shown[2] / shown[1], ready[2] / ready[1]
        printf "  %-36s %10.2f x %10.2f x\n", "  the same, run by run", 1 / pairShown[1], 1 / pairReady[1]
        for (i = 3; i <= NR; ++i) {
            sub(/.*other-/, "", name[i])
            printf "  %-36s %10.3f s %10.3f s %8.1f MiB\n", name[i], shown[i], ready[i], memory[i]
            printf "  %-36s %10.3f x %10.3f x\n", "  against the game, run by run", pairShown[i], pairReady[i]
        }
        printf "  vostrel.exe, stripped as in the zip: %d bytes (%.0f KiB)\n", size, size / 1024
    }'
