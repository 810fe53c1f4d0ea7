#!/bin/sh
# Installs the Debian packages the build and the tests need, and only those
# that are missing. Safe to run again; needs root (or sudo) to install.
set -eu

PACKAGES="
  make cmake g++ clang libclang-rt-14-dev help2man
  googletest libgtest-dev libbenchmark-dev
  python3 bzip2 unicode-data zip time
  python3-dev python3-pybind11 python3-pytest python3-setuptools python3-pip python3-venv
  man-db dpkg-dev pkgconf file
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 xvfb xdotool imagemagick fonts-wqy-microhei fonts-wine
  emscripten node-acorn chromium
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

# Node.js and npm usually come with the machine (a newer Node than Debian's);
# Debian's are the fallback.
command -v npm >/dev/null 2>&1 || missing="$missing nodejs npm"

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  # shellcheck disable=SC2086
  $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# The browser tests' npm packages, exactly as web/package-lock.json pins them,
# into web/node_modules (playwright-core drives Debian's Chromium and downloads
# no browser of its own). A copy of the lock file marks what is installed.
web=$(cd "$(dirname "$0")/../web" && pwd)
if ! cmp -s "$web/package-lock.json" "$web/node_modules/.installed-lock.json"; then
  echo "Installing the npm packages of web/package-lock.json"
  (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$web/package-lock.json" "$web/node_modules/.installed-lock.json"
fi
