#!/bin/sh
# Installs the Debian packages the build and the tests need, and only those
# that are missing. Safe to run again; needs root (or sudo) to install.
set -eu

PACKAGES="
  make cmake g++ clang libclang-rt-14-dev help2man
  googletest libgtest-dev libbenchmark-dev
  python3 bzip2 unicode-data zip time
  man-db dpkg-dev pkgconf file
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 xvfb xdotool imagemagick fonts-wqy-microhei fonts-wine
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
