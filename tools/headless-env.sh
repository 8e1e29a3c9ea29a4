# Sourced by the test and run commands: a private Xvfb display, a Wine prefix
# with a persistent wineserver, and an ALSA null device for DirectSound.
# Everything lives under $ZELV_RUNTIME_DIR and is stopped by headless_stop.

ZELV_RUNTIME_DIR=${ZELV_RUNTIME_DIR:-"$PWD/build/runtime"}
mkdir -p "$ZELV_RUNTIME_DIR"

headless_start_x() {
  if [ -n "${ZELV_KEEP_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  # -displayfd lets the server pick a free display itself (lock files and
  # abstract sockets of other servers included) and tell us its number.
  rm -f "$ZELV_RUNTIME_DIR/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$ZELV_RUNTIME_DIR/display" >"$ZELV_RUNTIME_DIR/xvfb.log" 2>&1 &
  ZELV_XVFB_PID=$!
  i=0
  while [ ! -s "$ZELV_RUNTIME_DIR/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  if [ ! -s "$ZELV_RUNTIME_DIR/display" ]; then
    echo "Xvfb did not start (see $ZELV_RUNTIME_DIR/xvfb.log)" >&2
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$ZELV_RUNTIME_DIR/display")"
}

headless_start_wine() {
  export WINEPREFIX="$ZELV_RUNTIME_DIR/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES='mscoree,mshtml='
  export WINEARCH=win32
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$ZELV_RUNTIME_DIR/asound-null.conf"
  export ALSA_CONFIG_PATH="$ZELV_RUNTIME_DIR/asound-null.conf"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$ZELV_RUNTIME_DIR/wineboot.log" 2>&1
  fi
  # A persistent server makes each later Wine process start in well under a second.
  wineserver -p >/dev/null 2>&1 &
}

headless_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${ZELV_XVFB_PID:-}" ]; then kill "$ZELV_XVFB_PID" 2>/dev/null || true; fi
}
