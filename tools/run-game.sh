#!/bin/sh
# Builds the game and runs it with the demo data set.
# A second start skips what the first one settled: the dependency check and
# the configure step run only while build/game is not configured yet (the
# build itself re-runs CMake when a CMakeLists.txt or a globbed folder
# changed); when the build of a configured tree fails, both run again once.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD="$ROOT/build/game"

prepare() {
  "$ROOT/tools/install-deps.sh"
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
}

# Only the program and its data: the tests are the test command's business.
build() {
  cmake --build "$BUILD" -j "$(nproc)" --target Zelvorant2 demo_data
}

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  prepare
  build
elif ! build; then
  echo "Build failed: checking the dependencies and configuring again" >&2
  prepare
  build
fi
# The game reads its data and writes its log, key bindings and saved game in
# the working directory: the generated demo data set.
cd "$BUILD/data"
exec "$BUILD/game/Zelvorant2" "$@"
