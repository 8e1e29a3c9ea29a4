#!/bin/sh
# Builds the game and runs it with the demo data set.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
"$ROOT/tools/install-deps.sh"
cmake -S "$ROOT" -B "$ROOT/build/game" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$ROOT/build/game" -j "$(nproc)"
if [ ! -x "$ROOT/build/game/game/Zelvorant2" ]; then
  echo "The game program does not exist yet: so far the engine services and the library's"
  echo "core are built and tested (run tools/test-all.sh). See README.md, 'Not yet'."
  exit 0
fi
cd "$ROOT/build/game/data"
exec "$ROOT/build/game/game/Zelvorant2" "$@"
