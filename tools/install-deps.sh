#!/bin/sh
# Installs what the build and the tests need on Debian 12, and nothing when
# everything is already there. Safe to run repeatedly.
set -eu

GAME_PKGS="cmake g++ make pkg-config git libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl1.2-dev libsdl-mixer1.2-dev libdevil-dev libwxgtk3.2-dev libgl1-mesa-dri mesa-utils
  xvfb xauth xdotool libx11-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra sox libsox-fmt-all libpixman-1-dev libmp3lame-dev lame imagemagick"
# qemu-user runs Wine's 32-bit loader where the kernel refuses 32-bit programs.
LIB_PKGS="g++-mingw-w64-i686 libz-mingw-w64-dev zlib1g-dev wine wine32:i386 qemu-user python3"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# "emulated-wine": also Wine's 64-bit server, which runs natively beside an
# emulated 32-bit Wine (asked for by the test command only on that route, so
# machines that run 32-bit programs keep the server they have).
EXTRA_PKGS=""
if [ "${1:-}" = emulated-wine ]; then EXTRA_PKGS="wine64"; fi

missing=""
for p in $GAME_PKGS $LIB_PKGS $EXTRA_PKGS; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
i386_missing=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then i386_missing=1; fi

if [ -z "$missing" ] && [ "$i386_missing" -eq 0 ]; then
  exit 0
fi

echo "Installing:$missing"
if [ "$i386_missing" -eq 1 ]; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
