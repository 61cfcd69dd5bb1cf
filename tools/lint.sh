#!/usr/bin/env bash
# Static analysis of our own code (Src/, tests/, tools/) as the dev build compiles it: the layers
# of Src/ (tools/layers.sh), the web face's formatting, cppcheck with tools/cppcheck.cfg and
# tools/cppcheck.supp, then clang-tidy with .clang-tidy. Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh clang-tidy cppcheck clang-format nlohmann-json3-dev
bash tools/layers.sh
# The web face's sources, its page and its tests follow .clang-format, JavaScript too.
echo "clang-format (web)"
clang-format --dry-run -Werror Src/web/*.cpp Src/web/*.h Src/web/*.js Src/web/page/*.js \
    Src/platform/*Web*.cpp Src/platform/*None.cpp tests/web/*.mjs bench/web/*.mjs
cmake --preset dev >/dev/null
# The sources include generated files (the version header, moc's output): build them first.
cmake --build --preset dev >/dev/null

status=0
echo "cppcheck"
# Qt's headers are not read (cppcheck needs only its qt library); moc's output checks for them.
cppcheck --project=build/dev/compile_commands.json --std=c++20 --library=qt \
    --library=tools/cppcheck.cfg --suppressions-list=tools/cppcheck.supp \
    --enable=warning,style,performance,portability --inline-suppr --quiet -j 2 \
    --error-exitcode=1 -DQ_MOC_OUTPUT_REVISION=68 \
    --file-filter='Src/*' --file-filter='tests/*' --file-filter='tools/*' || status=1

echo "clang-tidy"
run-clang-tidy -quiet -j 2 -p build/dev "^$PWD/(Src|tests|tools)/" >build/dev/clang-tidy.log 2>&1 ||
    status=1
# Only the findings: the tool's own progress lines say nothing when all is well.
sed 's/\x1b\[[0-9;]*m//g' build/dev/clang-tidy.log | grep -E -A3 '(warning|error):' || true

exit "$status"
