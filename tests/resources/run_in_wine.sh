#!/bin/sh
# Runs one Windows console program under Wine in a throwaway prefix, with no
# display, and ends every Wine process of that prefix afterwards.
# Usage: run_in_wine.sh PROGRAM.exe [FILE-ARGUMENT...]
# Arguments are Unix paths; the program receives them as Windows paths (Z:).
set -eu
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}

work=$(mktemp -d "${TMPDIR:-/tmp}/yishu-wine.XXXXXX")
export TMPDIR="$work" WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

windows_path() {
  case "$1" in
    /*) printf 'Z:%s' "$1" | tr / '\\' ;;
    *) printf '%s' "$1" ;;
  esac
}

program=$1
shift
for arg; do
  shift
  set -- "$@" "$(windows_path "$(realpath "$arg")")"
done
"$WINE" "$program" "$@"
