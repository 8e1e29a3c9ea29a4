#!/bin/sh
# Builds the game and runs it with the demo data set.
# A second start skips what the first one settled: the dependency check and
# the configure step run only while build/game is not configured yet (the
# build itself re-runs CMake when a CMakeLists.txt or a globbed folder
# changed); when the build of a configured tree fails, both run again once.
# The build step itself is skipped while no file or folder of the checkout
# (build/ and .git aside) is newer than the last good build: the build tool's
# own do-nothing pass took 5 s on a loaded machine. A file put back with an
# older time is not seen: remove build/game/run-game.built to build anyway.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD="$ROOT/build/game"

prepare() {
  "$ROOT/tools/install-deps.sh"
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
}

# Only the program and its data: the tests are the test command's business.
# The stamp takes the time the build starts, so an edit made during the
# build is built by the next start.
STAMP="$BUILD/run-game.built"
build() {
  touch "$STAMP.next"
  cmake --build "$BUILD" -j "$(nproc)" --target Zelvorant2 demo_data || return
  mv "$STAMP.next" "$STAMP"
}

changed_since_build() {
  [ -f "$STAMP" ] && [ -x "$BUILD/game/Zelvorant2" ] && [ -d "$BUILD/data" ] || return 0
  [ -n "$(find "$ROOT" \( -path "$ROOT/build" -o -path "$ROOT/.git" \) -prune -o -newer "$STAMP" -print -quit)" ]
}

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  prepare
  build
elif ! changed_since_build; then
  : # nothing to build
elif ! build; then
  echo "Build failed: checking the dependencies and configuring again" >&2
  prepare
  build
fi
# The game reads its data and writes its log, key bindings and saved game in
# the working directory: the generated demo data set.
cd "$BUILD/data"
exec "$BUILD/game/Zelvorant2" "$@"
