#!/bin/sh
# Runs one Windows console program under Wine, with no display, in a
# throwaway copy of the Wine tests' template prefix, and ends every Wine
# process of that prefix afterwards.
# Usage: run_in_wine.sh PROGRAM.exe [FILE-ARGUMENT...]
# Arguments are Unix paths; the program receives them as Windows paths (Z:).
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
. "$repo/tools/wine/common.sh"

wine_env
work=$(mktemp -d "${TMPDIR:-/tmp}/yishu-wine.XXXXXX")
export TMPDIR="$work"
unset DISPLAY WAYLAND_DISPLAY WINEPREFIX
copy_prefix "$work/prefix" "$repo/build/wine-template-$PREFIX_LAYOUT-96" unmanaged 96
export WINEPREFIX="$work/prefix"
cleanup() {
  "$WINE_SERVER" -k 2>/dev/null || true
  timeout 10 "$WINE_SERVER" -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

program=$1
shift
for arg; do
  shift
  set -- "$@" "$(windows_path "$(realpath "$arg")")"
done
"$WINE_LOADER" "$program" "$@"
