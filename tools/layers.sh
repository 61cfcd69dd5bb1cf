#!/usr/bin/env bash
# Checks that the sources' dependencies form a tree: each folder of Src/ includes only from the
# folders below it, toolkit and system headers appear only in the folders that may use them, and
# no two units include each other. Prints every include that breaks this and fails.
set -euo pipefail
cd "$(dirname "$0")/../Src"

# What each folder may include from (besides itself, the generated AppInfo.h and the standard
# library); the order of the design: face -> windows -> rules and service interfaces <- systems.
declare -A allowed=(
    [services]=""
    [core]="services"
    [platform]="services"
    [forms]="core services"
    [qt]="forms services icons"
    [win32]="forms services platform icons"
    [web]="forms core services platform"
)
# Headers of toolkits and systems, and the folders that may name them.
toolkit_pattern='^#include <(Q[A-Za-z]*|windows\.h|commctrl\.h|oleacc\.h|wincodec\.h|ole2\.h|objbase\.h|shellscalingapi\.h|X11/.*|emscripten\.h|emscripten/.*|unistd\.h|fcntl\.h|spawn\.h|sys/.*)>'
declare -A toolkit_ok=([qt]=1 [win32]=1 [web]=1 [platform]=1)

status=0
complain() {
    echo "layers: $*"
    status=1
}

for file in $(find . -name '*.cpp' -o -name '*.h' | sed 's|^\./||' | sort); do
    folder=${file%%/*}
    [ "$folder" = "$file" ] && folder=.
    while IFS= read -r line; do
        if [[ $line =~ ^#include\ \"([^\"]+)\" ]]; then
            target=${BASH_REMATCH[1]}
            [[ $target == */* ]] || continue  # beside it, or generated
            from=${target%%/*}
            [ "$from" = "$folder" ] && continue
            [[ " ${allowed[$folder]-} " == *" $from "* ]] ||
                complain "$file includes $target: $folder/ may not depend on $from/"
        elif [[ $line =~ $toolkit_pattern ]] && [ -z "${toolkit_ok[$folder]-}" ]; then
            complain "$file includes a toolkit or system header: $line"
        fi
    done <"$file"
done

# Units that include each other, directly.
edges=$(for file in $(find . -name '*.cpp' -o -name '*.h' | sed 's|^\./||'); do
    unit=${file%.*}
    grep -hoE '^#include "[^"]+\.h"' "$file" | sed -E 's/^#include "(.*)\.h"/\1/' |
        while read -r target; do
            [[ $target == */* ]] || target="$(dirname "$unit")/$target"
            target=${target#./}
            [ "$target" != "$unit" ] && echo "$unit $target"
        done
done | sort -u)
while read -r a b; do
    [ -n "$a" ] && grep -qx "$b $a" <<<"$edges" && [[ $a < $b ]] &&
        complain "$a and $b include each other"
done <<<"$edges"

[ "$status" -eq 0 ] && echo "layers: the sources' dependencies form a tree"
exit "$status"
