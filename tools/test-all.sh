#!/bin/sh
# Builds everything and runs every test: the native build with ASan and UBSan,
# the 32-bit Windows build of Ombrel with its test programs under Wine, and the
# micro-benchmarks (informational). Exits non-zero on any failure.
# Works on a fresh Debian machine without display or sound device.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
JOBS=${JOBS:-$(nproc)}

"$ROOT/tools/install-deps.sh"

. "$ROOT/tools/headless-env.sh"
trap headless_stop EXIT INT TERM

echo "== native build (ASan + UBSan)"
cmake -S "$ROOT" -B "$ROOT/build/native" -DCMAKE_BUILD_TYPE=Debug -DZELV_SANITIZE=ON >/dev/null
cmake --build "$ROOT/build/native" -j "$JOBS"

echo "== cross build (i686 Windows)"
cmake -S "$ROOT" -B "$ROOT/build/win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$ROOT/build/win32" -j "$JOBS"

echo "== benchmark build (Release)"
cmake -S "$ROOT" -B "$ROOT/build/bench" -DCMAKE_BUILD_TYPE=Release -DZELV_BENCHMARKS=ON >/dev/null
cmake --build "$ROOT/build/bench" -j "$JOBS"

headless_start_x
headless_start_wine

status=0
echo "== native tests"
SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$ROOT/build/native" -j "$JOBS" --output-on-failure --timeout 300 || status=1

echo "== Windows tests under Wine"
ctest --test-dir "$ROOT/build/win32" -j "$JOBS" --output-on-failure --timeout 300 || status=1

echo "== benchmarks (informational)"
for b in $(find "$ROOT/build/bench" -type f -name '*Bench' -perm -u+x | sort); do
  echo "-- $(basename "$b")"
  "$b" --benchmark_min_time=0.05 || status=1
done

if [ $status -ne 0 ]; then
  echo "FAILED"
  exit 1
fi
echo "ALL TESTS PASSED"
