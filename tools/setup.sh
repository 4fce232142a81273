#!/usr/bin/env bash
# Installs what building and testing Hazumaki needs on Debian 12, as root.
# Only missing packages are installed; a machine that has them all is left alone.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ python3 mingw-w64 libgtest-dev
  # native drawing: offscreen OpenGL and GLU
  libosmesa6-dev libgl1-mesa-dev libglu1-mesa-dev
  # Windows programs under Wine on a virtual display
  wine wine64 xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick fonts-ipafont-gothic
  # sound: a null sink to record, and MCI's media player under Wine
  pulseaudio pulseaudio-utils sox libsox-fmt-mp3 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # leak checks of the long runs (tools/soak.sh)
  valgrind
  # release package: ZIP, installer (and reading its tables), signatures
  zip wixl msitools osslsigncode openssl unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "setup: everything needed is installed"
fi
