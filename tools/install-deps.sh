#!/bin/sh
# Installs the Debian packages that a group of make targets needs, and only
# those that are missing. Safe to run again; needs root (or sudo) to install.
#
#   tools/install-deps.sh [GROUP...]     (no group: all)
#
#   build    compile and install telecode and the library (make install)
#   deb      the Debian packages (make deb)
#   test     the native tests, the sanitized tests, benchmarks and fuzzing,
#            the Python module's tests
#   windows  the Windows program, cross-compiled, and its tests under Wine
#   web      the web page (Emscripten) and its browser tests (Chromium, npm)
#   all      every group (make test)
set -eu

# One package a line, so that additions merge cleanly.
BUILD="
  make
  cmake
  g++
  help2man
"
DEB="
  dpkg-dev
  file
"
TEST="
  clang
  libclang-rt-14-dev
  googletest
  libgtest-dev
  libbenchmark-dev
  python3
  bzip2
  unicode-data
  opencc
  zip
  time
  man-db
  pkgconf
  python3-dev
  python3-pybind11
  python3-pytest
  python3-setuptools
  python3-pip
  python3-venv
"
WINDOWS="
  g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64
  googletest
  python3
  zip
  wine64
  xvfb
  xdotool
  imagemagick
  fonts-wqy-microhei
  fonts-wine
"
WEB="
  emscripten
  node-acorn
  chromium
"

packages=""
web=false
[ $# -gt 0 ] || set -- all
for group in "$@"; do
  case $group in
  build) packages="$packages $BUILD" ;;
  deb) packages="$packages $BUILD $DEB" ;;
  test) packages="$packages $BUILD $DEB $TEST" ;;
  windows) packages="$packages $BUILD $WINDOWS" ;;
  web) packages="$packages $BUILD $WEB" web=true ;;
  all) packages="$packages $BUILD $DEB $TEST $WINDOWS $WEB" web=true ;;
  *)
    echo "install-deps: unknown group '$group' (build, deb, test, windows, web, all)" >&2
    exit 2
    ;;
  esac
done

missing=""
# shellcheck disable=SC2086
for p in $(printf '%s\n' $packages | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

# Node.js and npm usually come with the machine (a newer Node than Debian's);
# Debian's are the fallback.
if $web && ! command -v npm >/dev/null 2>&1; then
  missing="$missing nodejs npm"
fi

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
if $web; then
  web_dir=$(cd "$(dirname "$0")/../web" && pwd)
  if ! cmp -s "$web_dir/package-lock.json" "$web_dir/node_modules/.installed-lock.json"; then
    echo "Installing the npm packages of web/package-lock.json"
    (cd "$web_dir" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$web_dir/package-lock.json" "$web_dir/node_modules/.installed-lock.json"
  fi
fi
