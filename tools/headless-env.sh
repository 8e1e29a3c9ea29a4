# Sourced by the test and run commands: a private Xvfb display, a Wine prefix
# with a persistent wineserver, and an ALSA null device for DirectSound.
# Everything lives under $ZELV_RUNTIME_DIR and is stopped by headless_stop.
#
# Wine runs one of three ways, decided once by headless_wine_route:
#   native    the machine runs 32-bit programs: Wine as installed;
#   emulated  the kernel refuses 32-bit programs: Wine's i386 loader and server
#             run under user-mode emulation (qemu-i386), much slower;
#   none      neither works: the Windows programs are built but cannot run.
# ZELV_WINE_ROUTE=native|emulated|none forces a route (to try one on purpose).

ZELV_RUNTIME_DIR=${ZELV_RUNTIME_DIR:-"$PWD/build/runtime"}
mkdir -p "$ZELV_RUNTIME_DIR"

# Emulation needs every address below 3 GiB reserved for the guest, or Wine
# cannot map its shared user data.
ZELV_QEMU_RESERVE=0xc0000000
ZELV_WINE_LOADER=/usr/lib/wine/wine
ZELV_WINE_SERVER32=/usr/lib/wine/wineserver32
ZELV_WINE_SERVER64=${ZELV_WINE_SERVER64:-/usr/lib/wine/wineserver64}

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

# A folder holding a copy of Wine's loader with scripts named wine and
# wineserver beside it: Wine finds its libraries relative to the copy (through
# the lib and share links) and starts its server and every later process
# (wineboot, services, test programs) through those scripts, so all of them go
# through qemu-i386.
headless_make_emulated_wine() {
  d="$ZELV_RUNTIME_DIR/qemu-wine"
  rm -rf "$d"
  mkdir -p "$d/lib/wine" "$d/share"
  cp "$ZELV_WINE_LOADER" "$d/lib/wine/wine-loader"
  ln -s /usr/lib/i386-linux-gnu "$d/lib/i386-linux-gnu"
  ln -s /usr/share/wine "$d/share/wine"
  cat >"$d/lib/wine/wine" <<EOF
#!/bin/sh
export WINELOADERNOEXEC=1
exec qemu-i386 -R $ZELV_QEMU_RESERVE -E LD_LIBRARY_PATH=/lib/i386-linux-gnu:/usr/lib/i386-linux-gnu \\
  -0 wine "$d/lib/wine/wine-loader" "\$@"
EOF
  if [ -x "$ZELV_WINE_SERVER64" ]; then
    # The 64-bit server (package wine64) serves 32-bit clients and runs
    # natively: only the loader and the programs are emulated.
    server="exec \"$ZELV_WINE_SERVER64\""
  else
    server="exec qemu-i386 -E LD_LIBRARY_PATH=/lib/i386-linux-gnu:/usr/lib/i386-linux-gnu \"$ZELV_WINE_SERVER32\""
  fi
  printf '#!/bin/sh\n%s "$@"\n' "$server" >"$d/lib/wine/wineserver"
  chmod +x "$d/lib/wine/wine" "$d/lib/wine/wineserver"
  echo "$d/lib/wine"
}

# Sets ZELV_WINE_ROUTE (native, emulated or none) and, for none, ZELV_WINE_WHY.
headless_wine_route() {
  ZELV_WINE_WHY=""
  case "${ZELV_WINE_ROUTE:-}" in
    native | emulated) return 0 ;;
    none) ZELV_WINE_WHY="ZELV_WINE_ROUTE=none was asked"; return 0 ;;
  esac
  if ! command -v wine >/dev/null 2>&1 || [ ! -x "$ZELV_WINE_LOADER" ]; then
    ZELV_WINE_ROUTE=none
    ZELV_WINE_WHY="Wine (wine32) is not installed"
    return 0
  fi
  if "$ZELV_WINE_LOADER" --version >/dev/null 2>&1; then
    ZELV_WINE_ROUTE=native
    return 0
  fi
  native_error=$("$ZELV_WINE_LOADER" --version 2>&1 | head -n 1)
  if command -v qemu-i386 >/dev/null 2>&1 &&
    qemu-i386 -R "$ZELV_QEMU_RESERVE" "$ZELV_WINE_LOADER" --version >/dev/null 2>&1; then
    ZELV_WINE_ROUTE=emulated
    return 0
  fi
  ZELV_WINE_ROUTE=none
  ZELV_WINE_WHY="this machine cannot run 32-bit programs ($native_error) and qemu-i386 cannot run Wine's loader either"
}

# Starts the prefix and a persistent server on the route chosen. Returns
# non-zero (after printing the end of the log) when Wine should have started
# and did not: a broken prefix is a failure, not a skip.
headless_start_wine() {
  export WINEPREFIX="$ZELV_RUNTIME_DIR/wineprefix"
  export WINEDEBUG=-all
  export WINEARCH=win32
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$ZELV_RUNTIME_DIR/asound-null.conf"
  export ALSA_CONFIG_PATH="$ZELV_RUNTIME_DIR/asound-null.conf"
  [ -n "${ZELV_WINE_ROUTE:-}" ] && [ "$ZELV_WINE_ROUTE" != none ] || headless_wine_route
  case "$ZELV_WINE_ROUTE" in
    native)
      export WINEDLLOVERRIDES='mscoree,mshtml='
      ;;
    emulated)
      bin=$(headless_make_emulated_wine)
      export PATH="$bin:$PATH" WINELOADER="$bin/wine" WINESERVER="$bin/wineserver"
      # No .NET, HTML or desktop process: each costs a minute to start here.
      export WINEDLLOVERRIDES='mscoree,mshtml,explorer.exe='
      # A prefix made by the other route holds the other loader's paths.
      if [ -f "$WINEPREFIX/.zelv-route" ] && [ "$(cat "$WINEPREFIX/.zelv-route")" != emulated ]; then
        rm -rf "$WINEPREFIX"
      fi
      ;;
    *)
      return 0
      ;;
  esac
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    started=$(date +%s)
    booted=0
    wine wineboot -i >"$ZELV_RUNTIME_DIR/wineboot.log" 2>&1 || booted=$?
    # The server writes the registry files when it ends.
    wineserver -w >/dev/null 2>&1 || true
    if [ "$booted" -ne 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Wine prefix could not be created ($ZELV_WINE_ROUTE route, status $booted); end of $ZELV_RUNTIME_DIR/wineboot.log:" >&2
      tail -n 20 "$ZELV_RUNTIME_DIR/wineboot.log" >&2
      return 1
    fi
    echo "Wine prefix made in $(($(date +%s) - started)) s ($ZELV_WINE_ROUTE route)"
  fi
  echo "$ZELV_WINE_ROUTE" >"$WINEPREFIX/.zelv-route"
  # A persistent server makes each later Wine process start much faster. Its
  # output goes nowhere: it outlives the caller's pipes.
  wineserver -p </dev/null >/dev/null 2>&1 &
  # Start Wine's own services now, with their output in the log: started by
  # the first test program they would hold its output pipe (and CTest waiting
  # on it) open for as long as the server lives.
  if ! wine wineboot </dev/null >>"$ZELV_RUNTIME_DIR/wineboot.log" 2>&1; then
    echo "Wine did not start ($ZELV_WINE_ROUTE route); end of $ZELV_RUNTIME_DIR/wineboot.log:" >&2
    tail -n 20 "$ZELV_RUNTIME_DIR/wineboot.log" >&2
    return 1
  fi
  # DirectDraw through Wine's GDI renderer: the OpenGL one hands 32-bit
  # video-memory surfaces back with 0xFF in the unused byte, which keyed blits
  # compare (docs/ARCHITECTURE.md, "Headless running").
  if [ ! -f "$WINEPREFIX/.zelv-d3d-gdi" ]; then
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f \
      </dev/null >>"$ZELV_RUNTIME_DIR/wineboot.log" 2>&1 && touch "$WINEPREFIX/.zelv-d3d-gdi"
  fi
}

# The display back ends' programs run again on a 16- and an 8-bit display
# (tools/wine-at-depth.sh), each display with a Wine prefix and server of its
# own: Wine reads the display's depth once, when its server starts. Native
# route only; after headless_start_wine.
ZELV_EXTRA_DEPTHS="16 8"
headless_start_depths() {
  [ "${ZELV_WINE_ROUTE:-none}" = native ] || return 0
  for depth in $ZELV_EXTRA_DEPTHS; do
    rm -f "$ZELV_RUNTIME_DIR/display-$depth"
    Xvfb -displayfd 3 -screen 0 "1280x1024x$depth" -nolisten tcp -noreset \
      3>"$ZELV_RUNTIME_DIR/display-$depth" >"$ZELV_RUNTIME_DIR/xvfb-$depth.log" 2>&1 &
    echo $! >"$ZELV_RUNTIME_DIR/xvfb-$depth.pid"
    i=0
    while [ ! -s "$ZELV_RUNTIME_DIR/display-$depth" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    if [ ! -s "$ZELV_RUNTIME_DIR/display-$depth" ]; then
      echo "Xvfb at $depth bits did not start (see $ZELV_RUNTIME_DIR/xvfb-$depth.log)" >&2
      return 1
    fi
    (
      export DISPLAY=":$(head -n 1 "$ZELV_RUNTIME_DIR/display-$depth")"
      export WINEPREFIX="$ZELV_RUNTIME_DIR/wineprefix-$depth"
      log="$ZELV_RUNTIME_DIR/wineboot-$depth.log"
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wine wineboot -i </dev/null >"$log" 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
          echo "Wine prefix for $depth bits could not be created; end of $log:" >&2
          tail -n 20 "$log" >&2
          exit 1
        fi
      fi
      wineserver -p </dev/null >/dev/null 2>&1 &
      wine wineboot </dev/null >>"$log" 2>&1 || exit 1
      if [ ! -f "$WINEPREFIX/.zelv-d3d-gdi" ]; then
        wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f \
          </dev/null >>"$log" 2>&1 && touch "$WINEPREFIX/.zelv-d3d-gdi"
      fi
    ) || return 1
  done
}

headless_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ "${ZELV_WINE_ROUTE:-none}" != none ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  for depth in $ZELV_EXTRA_DEPTHS; do
    if [ -f "$ZELV_RUNTIME_DIR/xvfb-$depth.pid" ]; then
      if [ -d "$ZELV_RUNTIME_DIR/wineprefix-$depth" ] && [ "${ZELV_WINE_ROUTE:-none}" = native ]; then
        WINEPREFIX="$ZELV_RUNTIME_DIR/wineprefix-$depth" wineserver -k >/dev/null 2>&1 || true
      fi
      kill "$(cat "$ZELV_RUNTIME_DIR/xvfb-$depth.pid")" 2>/dev/null || true
      rm -f "$ZELV_RUNTIME_DIR/xvfb-$depth.pid" "$ZELV_RUNTIME_DIR/display-$depth"
    fi
  done
  if [ -n "${ZELV_XVFB_PID:-}" ]; then kill "$ZELV_XVFB_PID" 2>/dev/null || true; fi
}
