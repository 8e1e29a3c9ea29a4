#!/bin/sh
# Runs a Windows program under Wine on the extra display of the given depth
# (16 or 8) with that display's own prefix, as tools/headless-env.sh's
# headless_start_depths made them. Used by the per-depth CTest entries.
#   wine-at-depth.sh DEPTH PROGRAM [ARGS...]
set -eu
depth=$1
shift
ZELV_RUNTIME_DIR=${ZELV_RUNTIME_DIR:-"$(cd "$(dirname "$0")/.." && pwd)/build/runtime"}
if [ ! -s "$ZELV_RUNTIME_DIR/display-$depth" ]; then
  echo "no $depth-bit display: run headless_start_depths (tools/headless-env.sh) first" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$ZELV_RUNTIME_DIR/display-$depth")"
export WINEPREFIX="$ZELV_RUNTIME_DIR/wineprefix-$depth"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES='mscoree,mshtml=;winedbg.exe=d'
exec wine "$@"
