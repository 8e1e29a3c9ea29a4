# Sourced by the test and run commands: a private Xvfb display, a Wine prefix
# with a persistent wineserver, and an ALSA null device for DirectSound.
# Everything lives under $ZELV_RUNTIME_DIR and is stopped by headless_stop.
#
# Wine runs one of three ways, decided once by headless_wine_route:
#   native    the machine runs 32-bit programs: Wine as installed;
#   emulated  the kernel refuses 32-bit programs: Wine's i386 loader, its
#             server and every Windows program run under user-mode emulation
#             (qemu-i386 10, which tools/install-deps.sh emulated-wine unpacks
#             under build/qemu); slower, but the same tests run;
#   none      neither works: the Windows programs are built but cannot run.
# ZELV_WINE_ROUTE=native|emulated|none forces a route (to try one on purpose).
#
# headless_start_wine does everything at once. The test command instead calls
# headless_wine_env, then headless_make_prefix, headless_start_depths and
# headless_start_server in the background while it builds.

ZELV_RUNTIME_DIR=${ZELV_RUNTIME_DIR:-"$PWD/build/runtime"}
mkdir -p "$ZELV_RUNTIME_DIR"

# Emulation needs every address below 3 GiB reserved for the guest, or Wine
# cannot map its shared user data.
ZELV_QEMU_RESERVE=0xc0000000
# Debian 12's own qemu-i386 (7.2) crashes in Wine's thread start and takes ten
# times longer: the emulated route uses version 10 from the build folder.
ZELV_QEMU_I386=${ZELV_QEMU_I386:-"$PWD/build/qemu/usr/bin/qemu-i386"}
ZELV_WINE_LOADER=/usr/lib/wine/wine
ZELV_WINE_SERVER32=/usr/lib/wine/wineserver32
# The display back ends' programs also run on a 16- and an 8-bit display.
ZELV_EXTRA_DEPTHS="16 8"

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
# (wineboot, services, the desktop, test programs) through those scripts, so
# all of them go through qemu-i386.
headless_make_emulated_wine() {
  d="$ZELV_RUNTIME_DIR/qemu-wine"
  rm -rf "$d"
  mkdir -p "$d/lib/wine" "$d/share"
  cp "$ZELV_WINE_LOADER" "$d/lib/wine/wine-loader"
  ln -s /usr/lib/i386-linux-gnu "$d/lib/i386-linux-gnu"
  ln -s /usr/share/wine "$d/share/wine"
  libs=/lib/i386-linux-gnu:/usr/lib/i386-linux-gnu
  printf '#!/bin/sh\nexport WINELOADERNOEXEC=1\nexec "%s" -R %s -E LD_LIBRARY_PATH=%s -0 wine "%s" "$@"\n' \
    "$ZELV_QEMU_I386" "$ZELV_QEMU_RESERVE" "$libs" "$d/lib/wine/wine-loader" >"$d/lib/wine/wine"
  printf '#!/bin/sh\nexec "%s" -E LD_LIBRARY_PATH=%s "%s" "$@"\n' \
    "$ZELV_QEMU_I386" "$libs" "$ZELV_WINE_SERVER32" >"$d/lib/wine/wineserver"
  chmod +x "$d/lib/wine/wine" "$d/lib/wine/wineserver"
  echo "$d/lib/wine"
}

# Whether this machine runs Wine's 32-bit loader itself.
headless_runs_32bit() {
  [ -x "$ZELV_WINE_LOADER" ] && "$ZELV_WINE_LOADER" --version >/dev/null 2>&1
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
  if headless_runs_32bit; then
    ZELV_WINE_ROUTE=native
    return 0
  fi
  native_error=$("$ZELV_WINE_LOADER" --version 2>&1 | head -n 1)
  if [ -x "$ZELV_QEMU_I386" ] &&
    "$ZELV_QEMU_I386" -R "$ZELV_QEMU_RESERVE" "$ZELV_WINE_LOADER" --version >/dev/null 2>&1; then
    ZELV_WINE_ROUTE=emulated
    return 0
  fi
  ZELV_WINE_ROUTE=none
  ZELV_WINE_WHY="this machine cannot run 32-bit programs ($native_error) and $ZELV_QEMU_I386 cannot run Wine's loader either"
}

# Exports what every Wine process of the route needs (prefix, loader, server,
# sound device). Quick; decides the route first when not decided yet.
headless_wine_env() {
  export WINEPREFIX="$ZELV_RUNTIME_DIR/wineprefix"
  export WINEDEBUG=-all
  export WINEARCH=win32
  # No .NET or HTML add-ons. No debugger: a program that crashes ends at
  # once with its exception code (an unattended debugger waits until the
  # test's timeout). The desktop process (explorer.exe) must stay: it owns
  # the desktop window every CreateWindowEx needs.
  export WINEDLLOVERRIDES='mscoree,mshtml=;winedbg.exe=d'
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$ZELV_RUNTIME_DIR/asound-null.conf"
  export ALSA_CONFIG_PATH="$ZELV_RUNTIME_DIR/asound-null.conf"
  [ -n "${ZELV_WINE_ROUTE:-}" ] && [ "$ZELV_WINE_ROUTE" != none ] || headless_wine_route
  if [ "$ZELV_WINE_ROUTE" = emulated ]; then
    bin=$(headless_make_emulated_wine)
    export PATH="$bin:$PATH" WINELOADER="$bin/wine" WINESERVER="$bin/wineserver"
  fi
}

# Makes the Wine prefix (after headless_wine_env) when it is missing, with no
# server left running. Returns non-zero, after printing the end of the log,
# when it could not: a broken prefix is a failure, not a skip.
headless_make_prefix() {
  [ "$ZELV_WINE_ROUTE" = native ] || [ "$ZELV_WINE_ROUTE" = emulated ] || return 0
  # A prefix made by the other route holds the other loader's paths.
  if [ -f "$WINEPREFIX/.zelv-route" ] && [ "$(cat "$WINEPREFIX/.zelv-route")" != "$ZELV_WINE_ROUTE" ]; then
    rm -rf "$WINEPREFIX"
  fi
  if [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/.zelv-d3d-gdi" ]; then return 0; fi
  started=$(date +%s)
  log="$ZELV_RUNTIME_DIR/wineboot.log"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    booted=0
    wine wineboot -i </dev/null >"$log" 2>&1 || booted=$?
    if [ "$booted" -ne 0 ]; then
      wineserver -k >/dev/null 2>&1 || true
      echo "Wine prefix could not be created ($ZELV_WINE_ROUTE route, status $booted); end of $log:" >&2
      tail -n 20 "$log" >&2
      return 1
    fi
  fi
  # DirectDraw through Wine's GDI renderer: the OpenGL one hands 32-bit
  # video-memory surfaces back with 0xFF in the unused byte, which keyed blits
  # compare (docs/ARCHITECTURE.md, "Headless running").
  if ! wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f </dev/null >>"$log" 2>&1; then
    wineserver -k >/dev/null 2>&1 || true
    echo "Wine could not set the Direct3D renderer ($ZELV_WINE_ROUTE route); end of $log:" >&2
    tail -n 20 "$log" >&2
    return 1
  fi
  # The server writes the registry files when it ends.
  wineserver -w >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Wine prefix has no registry ($ZELV_WINE_ROUTE route); end of $log:" >&2
    tail -n 20 "$log" >&2
    return 1
  fi
  touch "$WINEPREFIX/.zelv-d3d-gdi"
  echo "$ZELV_WINE_ROUTE" >"$WINEPREFIX/.zelv-route"
  echo "Wine prefix made in $(($(date +%s) - started)) s ($ZELV_WINE_ROUTE route)"
}

# Starts the persistent server of the prefix and Wine's own services.
headless_start_server() {
  [ "$ZELV_WINE_ROUTE" = native ] || [ "$ZELV_WINE_ROUTE" = emulated ] || return 0
  started=$(date +%s)
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
  echo "Wine started in $(($(date +%s) - started)) s ($ZELV_WINE_ROUTE route)"
}

# Environment, prefix and persistent server in one go.
headless_start_wine() {
  headless_wine_env
  headless_make_prefix || return 1
  headless_start_server
}

# The display back ends' programs run again on a 16- and an 8-bit display
# (tools/wine-at-depth.sh), each display with a Wine prefix and server of its
# own: Wine reads the display's depth once, when its server starts. Each
# prefix starts as a copy of the main one (made by headless_make_prefix; its
# server must not be running while it is copied).
headless_start_depths() {
  [ "$ZELV_WINE_ROUTE" = native ] || [ "$ZELV_WINE_ROUTE" = emulated ] || return 0
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
    prefix="$ZELV_RUNTIME_DIR/wineprefix-$depth"
    if [ ! -f "$prefix/.zelv-route" ] || [ "$(cat "$prefix/.zelv-route")" != "$ZELV_WINE_ROUTE" ]; then
      rm -rf "$prefix"
      cp -a "$WINEPREFIX" "$prefix"
    fi
    (
      export DISPLAY=":$(head -n 1 "$ZELV_RUNTIME_DIR/display-$depth")"
      export WINEPREFIX="$prefix"
      wineserver -p </dev/null >/dev/null 2>&1 &
      wine wineboot </dev/null >"$ZELV_RUNTIME_DIR/wineboot-$depth.log" 2>&1
    ) || {
      echo "Wine did not start on the $depth-bit display; end of $ZELV_RUNTIME_DIR/wineboot-$depth.log:" >&2
      tail -n 20 "$ZELV_RUNTIME_DIR/wineboot-$depth.log" >&2
      return 1
    }
  done
}

headless_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ "${ZELV_WINE_ROUTE:-none}" != none ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  for depth in $ZELV_EXTRA_DEPTHS; do
    if [ -f "$ZELV_RUNTIME_DIR/xvfb-$depth.pid" ]; then
      if [ -d "$ZELV_RUNTIME_DIR/wineprefix-$depth" ] && [ "${ZELV_WINE_ROUTE:-none}" != none ]; then
        WINEPREFIX="$ZELV_RUNTIME_DIR/wineprefix-$depth" wineserver -k >/dev/null 2>&1 || true
      fi
      kill "$(cat "$ZELV_RUNTIME_DIR/xvfb-$depth.pid")" 2>/dev/null || true
      rm -f "$ZELV_RUNTIME_DIR/xvfb-$depth.pid" "$ZELV_RUNTIME_DIR/display-$depth"
    fi
  done
  if [ -n "${ZELV_XVFB_PID:-}" ]; then kill "$ZELV_XVFB_PID" 2>/dev/null || true; fi
}
