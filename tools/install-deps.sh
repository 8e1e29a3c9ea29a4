#!/bin/sh
# Installs what the build and the tests need on Debian 12, and nothing when
# everything is already there. Safe to run repeatedly.
#   install-deps.sh                the packages, with apt-get
#   install-deps.sh emulated-wine  also qemu-i386 10 under build/qemu, for
#                                  machines whose kernel refuses 32-bit programs
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)

GAME_PKGS="cmake g++ make pkg-config git libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl1.2-dev libsdl-mixer1.2-dev libdevil-dev libwxgtk3.2-dev libgl1-mesa-dri mesa-utils
  xvfb xauth xdotool libx11-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra sox libsox-fmt-all libpixman-1-dev libmp3lame-dev lame imagemagick"
# Debian 12's qemu-user (7.2) is not installed: it cannot run Wine's threads
# (see emulated-wine below).
LIB_PKGS="g++-mingw-w64-i686 libz-mingw-w64-dev zlib1g-dev wine wine32:i386 python3"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# apt and dpkg refuse to start while another of them holds one of their locks,
# as the system's own updates do after boot. apt-get's DPkg::Lock::Timeout
# waits only for dpkg's locks, not for "apt-get update"'s
# /var/lib/apt/lists/lock (apt 2.6 tries that one once), so each apt or dpkg
# command here runs again while it fails on a lock, saying so, for up to
# ZELV_APT_LOCK_WAIT seconds (default 300); then the run fails with the lock
# message. ZELV_APT_RETRY_STEP: seconds between attempts (default 5).
APT_LOCK_WAIT=${ZELV_APT_LOCK_WAIT:-300}
APT_RETRY_STEP=${ZELV_APT_RETRY_STEP:-5}
LOCK_HELD="Could not get lock|Unable to lock|Unable to acquire the dpkg frontend lock|lock was locked by another process|database is locked by another process"
waiting_for_locks() {
  err=$(mktemp)
  started=$(date +%s)
  told=""
  while :; do
    rc=0
    "$@" 2>"$err" || rc=$?
    held=$(grep -E -m 1 "$LOCK_HELD" "$err" || true)
    if [ "$rc" -eq 0 ] || [ -z "$held" ]; then
      cat "$err" >&2
      rm -f "$err"
      return "$rc"
    fi
    waited=$(($(date +%s) - started))
    if [ "$waited" -ge "$APT_LOCK_WAIT" ]; then
      echo "install-deps: another apt or dpkg process still holds its lock after ${waited} s, giving up: $held" >&2
      rm -f "$err"
      return 1
    fi
    # The first refusal and then one line every 15 s or so.
    if [ -z "$told" ] || [ $((waited - told)) -ge 15 ]; then
      echo "install-deps: waiting for another apt or dpkg process (${waited} s of at most ${APT_LOCK_WAIT} s): $held" >&2
      told=$waited
    fi
    sleep "$APT_RETRY_STEP"
  done
}

# qemu-i386 10.0 from Debian's bookworm-backports archive, unpacked under
# build/qemu: apt downloads the package with a source list, package lists and
# cache of its own under build/qemu/apt, so the machine's apt setup and
# installed packages stay as they are. Its qemu-i386 is a static program.
# Debian 12's own 7.2 ends Wine's multi-threaded programs in "illegal
# instruction" or a crash of qemu itself and makes a prefix in 11 minutes.
install_qemu() {
  dest="$ROOT/build/qemu"
  if [ -x "$dest/usr/bin/qemu-i386" ]; then return 0; fi
  apt_dir="$dest/apt"
  rm -rf "$dest"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/deb"
  echo "deb http://deb.debian.org/debian bookworm-backports main" >"$apt_dir/sources.list"
  set -- -o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null \
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" \
    -o APT::Sandbox::User="$(id -un)"
  echo "Fetching qemu-user 10 from bookworm-backports into $dest"
  apt-get "$@" update -qq
  (cd "$apt_dir/deb" && apt-get "$@" download -qq qemu-user/bookworm-backports)
  deb=$(ls "$apt_dir"/deb/qemu-user_*.deb)
  dpkg-deb --fsys-tarfile "$deb" | (cd "$dest" && tar -x ./usr/bin/qemu-i386)
  rm -rf "$apt_dir"
  "$dest/usr/bin/qemu-i386" --version | head -n 1
}

missing=""
for p in $GAME_PKGS $LIB_PKGS; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
i386_missing=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then i386_missing=1; fi

if [ -n "$missing" ] || [ "$i386_missing" -eq 1 ]; then
  echo "Installing:$missing"
  if [ "$i386_missing" -eq 1 ]; then
    waiting_for_locks $SUDO dpkg --add-architecture i386
  fi
  waiting_for_locks $SUDO apt-get update -qq
  waiting_for_locks $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi

if [ "${1:-}" = emulated-wine ]; then install_qemu; fi
