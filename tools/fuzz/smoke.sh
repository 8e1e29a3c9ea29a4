#!/bin/sh
# A short run of every libFuzzer harness on its seeds: builds the "fuzzers"
# target with clang in build/fuzz, then runs each harness for a few seconds
# (JOBS at a time) with a fixed random seed, so a failure reproduces. Fails
# on a crash, a sanitizer report, a failed check or an input that hangs.
# Without clang it says so and succeeds.
#   smoke.sh [summary file]   also writes the one-line verdict to the file
#   FUZZ_SECONDS=<n>          seconds per harness (default 2)
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD="$ROOT/build/fuzz"
OUT="$BUILD/smoke"
SECONDS_EACH=${FUZZ_SECONDS:-2}

# One harness: its statistics line, or the tail of its log and status 1.
# New inputs go to a fresh folder (the first corpus), so the seeds stay as
# they are and every smoke starts from the same corpus. Maps whose zones
# reach beyond 100000 units are skipped by the level harness: their known
# slow path would only time out.
run_one() {
  h=$1
  mkdir -p "$OUT/$h"
  if ZELV_FUZZ_BOUND_ZONES=1 "$BUILD/tools/fuzz/$h" -seed=1 -max_total_time="$SECONDS_EACH" -timeout=20 \
    -print_final_stats=1 -artifact_prefix="$OUT/$h-" "$OUT/$h" "$BUILD/seeds/$h" >"$OUT/$h.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$OUT/$h.log")
    cov=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$OUT/$h.log" | sed -E 's/.*cov: ([0-9]+) ft: ([0-9]+).*/cov \1, ft \2/')
    echo "  $h: $runs runs, $cov"
  else
    tail -n 30 "$OUT/$h.log"
    echo "  $h FAILED: input kept as $(ls "$OUT/$h"-* 2>/dev/null | head -n 1), log $OUT/$h.log"
    return 1
  fi
}
if [ "${1:-}" = --one ]; then
  run_one "$2" >"$OUT/$2.result" 2>&1
  exit
fi

JOBS=${JOBS:-$(nproc)}
SUMMARY=${1:-/dev/null}

verdict() {
  echo "$1"
  echo "$1" >"$SUMMARY"
  said=1
}
said=0
trap '[ "$said" = 1 ] || verdict "Fuzz smoke FAILED: stopped before its end (see above)"' EXIT

if ! command -v clang++ >/dev/null 2>&1 || ! command -v clang >/dev/null 2>&1; then
  verdict "Fuzz smoke SKIPPED: clang is not installed (apt-get install clang)"
  exit 0
fi
# libFuzzer's runtime comes with clang's (recommended) runtime package.
probe=$(mktemp -d)
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' >"$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer,address "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  rm -rf "$probe"
  verdict "Fuzz smoke SKIPPED: clang cannot link libFuzzer programs (apt-get install libclang-rt-dev)"
  exit 0
fi
rm -rf "$probe"

started=$(date +%s)
# Configured once; the build step configures again when a CMakeLists changed.
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$BUILD" -j "$JOBS" --target fuzzers >"$BUILD/fuzzers-build.log" 2>&1 || {
  tail -n 40 "$BUILD/fuzzers-build.log"
  verdict "Fuzz smoke FAILED: the harnesses did not build (see $BUILD/fuzzers-build.log)"
  exit 1
}
built=$(date +%s)

rm -rf "$OUT"
mkdir -p "$OUT"
harnesses=$(ls "$BUILD/seeds")
# JOBS harnesses at a time, each writing its result to its own file.
printf '%s\n' $harnesses | xargs -P "$JOBS" -I {} sh "$0" --one {} || true
failed=0
for h in $harnesses; do
  cat "$OUT/$h.result"
  if ! grep -q "^  $h: " "$OUT/$h.result"; then failed=$((failed + 1)); fi
done

count=$(echo "$harnesses" | wc -w)
timing="build $((built - started)) s, runs $(($(date +%s) - built)) s"
if [ "$failed" -ne 0 ]; then
  verdict "Fuzz smoke FAILED: $failed of $count harnesses stopped on an input ($timing)"
  exit 1
fi
verdict "Fuzz smoke: $count harnesses, ${SECONDS_EACH} s each on their seeds, no failure ($timing)"
