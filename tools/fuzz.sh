#!/usr/bin/env bash
# Fuzzes the readers of data the game does not control, with libFuzzer under ASan and UBSan.
#
# Usage: tools/fuzz.sh [target] [seconds]
#   tools/fuzz.sh                 every target for 60 seconds each (what CI runs)
#   tools/fuzz.sh wordfile 600    one target for ten minutes
# Targets are the folders of fuzz/corpus/. New inputs go to a throwaway working corpus: the
# committed seeds are only read. Any crash, leak, timeout or running out of memory fails the run
# and leaves the input that caused it in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=()
if [ $# -ge 1 ]; then
    targets=("$1")
else
    for dir in fuzz/corpus/*/; do
        targets+=("$(basename "$dir")")
    done
fi
seconds="${2:-60}"

bash tools/deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

findings=build/fuzz/findings
mkdir -p "$findings"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Longest input worth trying: enough for a field longer than any word, or a
# small picture of every kind.
max_len() {
    case "$1" in
        wordfile) echo 65536 ;;  # many words, or one long one
        *) echo 4096 ;;
    esac
}

for target in "${targets[@]}"; do
    program="build/fuzz/fuzz/fuzz_$target"
    if [ ! -x "$program" ] || [ ! -d "fuzz/corpus/$target" ]; then
        echo "fuzz.sh: no fuzz target '$target'" >&2
        exit 2
    fi
    mkdir -p "$work/$target"
    echo "Fuzzing $target for $seconds s"
    "$program" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
        -max_len="$(max_len "$target")" -artifact_prefix="$findings/$target-" \
        -print_final_stats=1 "$work/$target" "fuzz/corpus/$target"
done
