#!/bin/sh
# Builds the game and runs it with the demo data set.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
"$ROOT/tools/install-deps.sh"
cmake -S "$ROOT" -B "$ROOT/build/game" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the program and its data: the tests are the test command's business.
cmake --build "$ROOT/build/game" -j "$(nproc)" --target Zelvorant2 demo_data
# The game reads its data and writes its log, key bindings and saved game in
# the working directory: the generated demo data set.
cd "$ROOT/build/game/data"
exec "$ROOT/build/game/game/Zelvorant2" "$@"
