#!/bin/sh
# Runs one Windows console program under Wine, with no display, in a
# throwaway copy of the Wine tests' template prefix, and ends every Wine
# process of that prefix afterwards.
# Usage: run_in_wine.sh PROGRAM.exe [FILE-ARGUMENT...]
# Arguments are Unix paths; the program receives them as Windows paths (Z:).
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
. "$repo/tools/wine/common.sh"

unset DISPLAY WAYLAND_DISPLAY
start_console_prefix

program=$1
shift
for arg; do
  shift
  set -- "$@" "$(windows_path "$(realpath "$arg")")"
done
"$WINE_LOADER" "$program" "$@"
