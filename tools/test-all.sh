#!/bin/sh
# Builds everything and runs every test: the native build with ASan and UBSan,
# the 32-bit Windows build of Ombrel with its test programs under Wine, and the
# micro-benchmarks (informational); where clang is installed, also a short
# libFuzzer smoke (tools/fuzz/smoke.sh). Exits non-zero on any failure.
# Works on a fresh Debian machine without display or sound device, and on
# machines whose kernel cannot run 32-bit programs (Wine then runs under
# qemu-i386 10; see tools/headless-env.sh). Both routes run the same tests.
#   ZELV_WINE_ROUTE=native|emulated|none  force a route (see headless-env.sh)
#   ZELV_REQUIRE_WINE=1  fail when the Windows test programs cannot run at all.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
JOBS=${JOBS:-$(nproc)}
REPORTS="$ROOT/build/reports"
run_started=$(date +%s)

# Wall time of each stage, for the summary.
timings=""
mark=$run_started
stage_done() {
  now=$(date +%s)
  timings="$timings${timings:+, }$1 $((now - mark)) s"
  mark=$now
}

"$ROOT/tools/install-deps.sh"

. "$ROOT/tools/headless-env.sh"
wine_prep_pid=""
cleanup() {
  # The Wine preparation may still be starting servers: let it finish first.
  if [ -n "$wine_prep_pid" ]; then wait "$wine_prep_pid" 2>/dev/null || true; fi
  headless_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rm -rf "$REPORTS"
mkdir -p "$REPORTS"

# Wine's route. Where the machine cannot run Wine's 32-bit loader (or the
# emulated route is asked for) qemu-i386 10 is fetched into build/qemu first.
if [ "${ZELV_WINE_ROUTE:-}" = emulated ] ||
  { [ -z "${ZELV_WINE_ROUTE:-}" ] && [ -x "$ZELV_WINE_LOADER" ] && ! headless_runs_32bit; }; then
  "$ROOT/tools/install-deps.sh" emulated-wine || echo "qemu-i386 10 could not be fetched"
fi
headless_wine_route
headless_start_x
stage_done "install"

# The Wine prefixes (24-, 16- and 8-bit displays) and their servers start in
# the background while everything builds; the Windows tests wait for them.
case "$ZELV_WINE_ROUTE" in
  native | emulated)
    if [ "$ZELV_WINE_ROUTE" = emulated ]; then
      echo "Wine runs under qemu-i386 ($("$ZELV_QEMU_I386" --version | head -n 1))"
    fi
    headless_wine_env
    (
      started=$(date +%s)
      rc=0
      (headless_make_prefix && headless_start_depths && headless_start_server) || rc=$?
      echo $(($(date +%s) - started)) >"$REPORTS/wine-start.seconds"
      exit $rc
    ) >"$REPORTS/wine-start.log" 2>&1 &
    wine_prep_pid=$!
    ;;
esac

echo "== native build (ASan + UBSan)"
cmake -S "$ROOT" -B "$ROOT/build/native" -DCMAKE_BUILD_TYPE=Debug -DZELV_SANITIZE=ON >/dev/null
cmake --build "$ROOT/build/native" -j "$JOBS"
stage_done "native build"

echo "== cross build (i686 Windows)"
cmake -S "$ROOT" -B "$ROOT/build/win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$ROOT/build/win32" -j "$JOBS"
stage_done "cross build"

# Only the benchmark programs and what they read: the libraries they link
# are compiled again, optimised, but no test or game program.
echo "== benchmark build (Release)"
cmake -S "$ROOT" -B "$ROOT/build/bench" -DCMAKE_BUILD_TYPE=Release -DZELV_BENCHMARKS=ON >/dev/null
cmake --build "$ROOT/build/bench" -j "$JOBS" --target benchmarks
stage_done "benchmark build"

status=0
# Unit tests run once: a failure fails the run. Only the tests labelled
# "display" (the real program on an Xvfb display, paced by its frames) run
# once more when they fail, in a CTest run of their own: they share a loaded
# machine, and LeakSanitizer's own tracer has been seen to crash at exit under
# load. A real fault fails twice; the summary names every test that passed
# only on its rerun.
echo "== native tests"
rm -f "$REPORTS/native.status"
native_ctest() { # report name, then CTest's options
  report=$1
  shift
  SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$ROOT/build/native" -j "$JOBS" --output-on-failure --timeout 300 \
    --output-junit "$REPORTS/$report.xml" "$@" || echo failed >"$REPORTS/native.status"
}
{
  native_ctest native-unit -LE '^display$'
  native_ctest native-display -L '^display$' --repeat until-pass:2
} 2>&1 | tee "$REPORTS/native.log"
[ ! -f "$REPORTS/native.status" ] || status=1
native_summary=$(python3 "$ROOT/tools/ctest-summary.py" "Native tests" \
  "$REPORTS/native-unit.xml" "$REPORTS/native-display.xml" --log "$REPORTS/native.log") || status=1
stage_done "native tests"

echo "== Windows tests under Wine"
wine_note=""
case "$ZELV_WINE_ROUTE" in
  native | emulated)
    label="Windows programs ($ZELV_WINE_ROUTE Wine)"
    wine_started=$(date +%s)
    prepared=0
    wait "$wine_prep_pid" || prepared=$?
    wine_prep_pid=""
    cat "$REPORTS/wine-start.log"
    if [ "$prepared" -eq 0 ]; then
      # One Wine process per program, the display programs again at 16 and
      # 8 bits. Under emulation each process starts in a few seconds.
      rm -f "$REPORTS/wine.status"
      {
        ctest --test-dir "$ROOT/build/win32" -j "$JOBS" --output-on-failure \
          --output-junit "$REPORTS/wine.xml" || echo failed >"$REPORTS/wine.status"
      } 2>&1 | tee "$REPORTS/wine.log"
      [ ! -f "$REPORTS/wine.status" ] || status=1
      wine_summary=$(python3 "$ROOT/tools/ctest-summary.py" "$label" "$REPORTS/wine.xml" --cases) || status=1
      wine_summary="$wine_summary
  NOT RUN on this route: none"
    else
      status=1
      wine_summary="$label: NOT RUN, Wine failed to start (see above)"
    fi
    stage_done "Windows tests"
    wine_note="Wine stage took $(($(date +%s) - wine_started)) s on the $ZELV_WINE_ROUTE route, after $(cat "$REPORTS/wine-start.seconds" 2>/dev/null || echo ?) s making the prefixes and starting Wine during the builds"
    ;;
  *)
    programs=$(ctest --test-dir "$ROOT/build/win32" -N -L '^wine' | sed -n 's/^Total Tests: //p')
    wine_summary="Windows test programs NOT RUN: $ZELV_WINE_WHY (${programs:-?} programs built, 0 run)"
    echo "!!!!! $wine_summary"
    if [ "${ZELV_REQUIRE_WINE:-0}" = 1 ]; then
      echo "ZELV_REQUIRE_WINE=1: not running them is a failure"
      status=1
    fi
    ;;
esac

echo "== benchmarks (informational)"
for b in $(find "$ROOT/build/bench" -type f -name '*Bench' -perm -u+x | sort); do
  echo "-- $(basename "$b")"
  "$b" --benchmark_min_time=0.05 >"$REPORTS/bench-$(basename "$b").log" 2>&1 || status=1
  cat "$REPORTS/bench-$(basename "$b").log"
done
python3 "$ROOT/tools/bench/summary.py" "$REPORTS"/bench-*.log || status=1
stage_done "benchmarks"

echo "== fuzz smoke (libFuzzer harnesses built with clang, a few seconds each)"
JOBS=$JOBS "$ROOT/tools/fuzz/smoke.sh" "$REPORTS/fuzz.summary" || status=1
stage_done "fuzz smoke"

echo "== summary"
echo "$native_summary"
case "$wine_summary" in
  *": NOT RUN"* | "Windows test programs NOT RUN"*) echo "!!!!! $wine_summary" ;;
  *) echo "$wine_summary" ;;
esac
[ -z "$wine_note" ] || echo "$wine_note"
cat "$REPORTS/fuzz.summary"
echo "Stages: $timings"
echo "Total: $(($(date +%s) - run_started)) s with $JOBS jobs"
if [ $status -ne 0 ]; then
  echo "FAILED"
  exit 1
fi
echo "ALL TESTS PASSED"
