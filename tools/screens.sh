#!/bin/sh
# Makes the screenshots of docs/screens again from the end-to-end runs of the
# native build (build/native): each run keeps the frames it checks
# (ZELV_E2E_SHOTS) and the documented ones are written as PNG.
#   tools/screens.sh                     every screenshot
#   tools/screens.sh hiscores-online     only the ones named
# Names: setup title title-cocktail hud hiscores hiscores-online controls core-pit
# (setup is the start-up dialog, read back from the X server).
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
TESTS="$ROOT/build/native/game/app/tests"
if [ ! -x "$TESTS/EndToEndTest" ]; then
  echo "Build the end-to-end test first: cmake --build build/native --target EndToEndTest" >&2
  exit 1
fi
names=${*:-"setup title title-cocktail hud hiscores hiscores-online controls core-pit"}

# The run that keeps each shot.
filter=""
for name in $names; do
  case "$name" in
    setup) run=EndToEnd.DoneStartsTheSplashLevelAndClosingTheWindowEndsCleanly ;;
    title | title-cocktail) run=EndToEnd.TitleMenuNewGamePauseCocktailQuitAndCredits ;;
    hud) run=ScriptedFlight.TheHudLiesOverTheLevel ;;
    hiscores) run=EndToEnd.HiScoresShowsTheLocalTableAndReturns ;;
    hiscores-online | controls) run=OnlineAndControls.HiScoresFetchesTheTableAndControlsRebindsAKey ;;
    core-pit) run=CorePit.TheGeneratorInThePitShowsWholeAboveTheScoreStrip ;;
    *) echo "No screenshot called '$name'" >&2; exit 1 ;;
  esac
  case ":$filter:" in
    *":$run:"*) ;;
    *) filter=${filter:+$filter:}$run ;;
  esac
done

SHOTS=$(mktemp -d)
. "$ROOT/tools/headless-env.sh"
trap 'headless_stop; rm -rf "$SHOTS"' EXIT INT TERM
headless_start_x
(cd "$TESTS" && SDL_AUDIODRIVER=dummy ZELV_E2E_SHOTS="$SHOTS" ./EndToEndTest --gtest_filter="$filter")
for name in $names; do
  convert "$SHOTS/$name.ppm" "$ROOT/docs/screens/$name.png"
  echo "docs/screens/$name.png"
done
