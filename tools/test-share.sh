#!/usr/bin/env bash
# Counts the code lines of the tests (tests/ and fuzz/) against all C++ and JavaScript code of the
# repository (Src/, tools/, bench/, fuzz/, tests/; the web page's and its tests' JavaScript too,
# not the modules npm installs), as cloc counts them, and prints the tests' share.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh cloc >/dev/null
cloc --quiet --csv --by-file --include-lang='C++,C/C++ Header,JavaScript' \
    --exclude-dir=node_modules,build Src tools bench fuzz tests |
    awk -F, 'NR > 1 && $1 != "SUM" && $5 ~ /^[0-9]+$/ { split($2, path, "/"); folder[path[1]] += $5 }
        END {
            for (f in folder) { all += folder[f]; printf "%-6s %5d\n", f, folder[f] | "sort" }
            close("sort")
            tests = folder["tests"] + folder["fuzz"]
            printf "tests and fuzz targets: %d of %d code lines, %.0f %%\n", tests, all, 100 * tests / all
        }'
