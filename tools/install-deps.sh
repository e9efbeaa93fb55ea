#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need.
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
  # build
  cmake make g++ pkg-config ccache
  qt6-base-dev qt6-serialport-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # the Windows device layer is compiled with this cross compiler so it cannot rot
  g++-mingw-w64-x86-64
  # libFuzzer and the sanitizer runtimes
  clang libclang-rt-14-dev
  # real peers for the tests: YMODEM receiver, pty relay, a display server
  lrzsz socat xvfb xauth
  # fonts for the windows (a sans face metric-compatible with Arial)
  fonts-dejavu-core fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
