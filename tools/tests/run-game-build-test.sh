#!/bin/sh
# tools/run-game.sh in a copy of a small checkout, with stand-ins for cmake,
# the install step and the game: a start builds when nothing was built yet,
# when a file or folder of the checkout changed since the last good build,
# after a failed build and when the program is gone, and skips the build
# step otherwise.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zelv-rungame.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
ROOT="$WORK/checkout"
mkdir -p "$ROOT/tools" "$ROOT/game/core" "$WORK/bin"
cp "$HERE/../run-game.sh" "$ROOT/tools/"
printf '#!/bin/sh\necho "install-deps" >>"$STUB_LOG"\n' >"$ROOT/tools/install-deps.sh"
echo 'int main() {}' >"$ROOT/game/core/Main.cpp"
echo 'project(x)' >"$ROOT/CMakeLists.txt"

# cmake: configuring writes the cache; building writes the game and its data
# folder, or fails while $WORK/fail exists.
cat >"$WORK/bin/cmake" <<'STUB'
#!/bin/sh
if [ "$1" = --build ]; then
  echo "build" >>"$STUB_LOG"
  [ ! -e "$STUB_FAIL" ] || exit 2
  mkdir -p "$2/game" "$2/data"
  printf '#!/bin/sh\necho "game $*"\n' >"$2/game/Zelvorant2"
  chmod +x "$2/game/Zelvorant2"
else
  echo "configure" >>"$STUB_LOG"
  mkdir -p "$4" && touch "$4/CMakeCache.txt"
fi
STUB
chmod +x "$WORK/bin/cmake" "$ROOT/tools/install-deps.sh"

failures=0
# A start; what it ran must be exactly $2 (the steps, then the game's line).
start() { # name expected
  : >"$WORK/log"
  STUB_LOG="$WORK/log" STUB_FAIL="$WORK/fail" PATH="$WORK/bin:$PATH" \
    sh "$ROOT/tools/run-game.sh" --level 1 >>"$WORK/log" 2>/dev/null
  got=$(tr '\n' ' ' <"$WORK/log" | sed 's/ $//')
  if [ "$got" = "$2" ]; then echo "ok   $1: $got"
  else echo "FAIL $1: ran '$got', expected '$2'"; failures=$((failures + 1))
  fi
}

start first-start "install-deps configure build game --level 1"
start nothing-changed "game --level 1"
start again-nothing-changed "game --level 1"
echo 'int main() { return 0; }' >"$ROOT/game/core/Main.cpp"
start source-edited "build game --level 1"
start after-the-edit "game --level 1"
echo '// new' >"$ROOT/game/core/Added.cpp"
start file-added "build game --level 1"
rm "$ROOT/game/core/Added.cpp"
start file-removed "build game --level 1"
touch "$ROOT/CMakeLists.txt"
start top-file-touched "build game --level 1"
rm "$ROOT/build/game/game/Zelvorant2"
start program-gone "build game --level 1"
# A failed build (a broken edit) retries with the install step and configure,
# still fails, and is tried again by the next start although nothing changed.
touch "$WORK/fail" "$ROOT/game/core/Main.cpp"
start build-fails "build install-deps configure build"
start after-a-failed-build "build install-deps configure build"
rm "$WORK/fail"
start fixed "build game --level 1"
start after-the-fix "game --level 1"
# The build folder's own files never count as a change.
touch "$ROOT/build/game/data/Logfile.txt"
start build-folder-written "game --level 1"

if [ "$failures" -gt 0 ]; then echo "run-game-build-test: $failures start(s) FAILED"; exit 1; fi
echo "run-game-build-test: all starts as expected"
