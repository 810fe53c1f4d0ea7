#!/bin/sh
# Runs one Windows program under Wine on a private X display and in a private
# Wine prefix, then tears both down. Used by the GUI tests and benchmarks.
#
#   session.sh [--template DIR] [--dpi N] [--timeout SECONDS] [--artifacts DIR] \
#              -- PROGRAM.exe [ARGS...]
#
# * Xvfb is started on a free display (-displayfd); only that Xvfb is killed.
# * The prefix is a copy of a template prefix (built once, cached in DIR,
#   default build/wine-template-LAYOUT-DPI): fonts mapped so that Chinese renders,
#   windows unmanaged, no Mono/Gecko. Only this prefix's Wine processes are
#   ended (wineserver -k), never anyone else's.
# * PROGRAM.exe and ARGS that are existing absolute Unix paths are handed over as
#   Windows paths (Z:\...). BMP files the program leaves in the artifacts
#   directory are converted to PNG.
# The exit status is the program's (124 if it timed out).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
. "$here/common.sh"

template=""
dpi=96
limit=120
artifacts=""
while [ $# -gt 0 ]; do
  case $1 in
    --template) template=$2; shift 2 ;;
    --dpi) dpi=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    --artifacts) artifacts=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "session.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -ge 1 ] || { echo "usage: session.sh [options] -- PROGRAM.exe [ARGS...]" >&2; exit 2; }
template=${template:-$repo/build/wine-template-$PREFIX_LAYOUT-$dpi}

for tool in Xvfb "$WINE_LOADER" "$WINE_SERVER" iconv; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "session.sh: $tool is missing; run tools/install-deps.sh" >&2
    exit 2
  }
done

wine_env
work=$(mktemp -d "${TMPDIR:-/tmp}/yishu-wine.XXXXXX")
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
xvfb_pid=""
cleanup() {
  status=$?
  trap - EXIT INT TERM
  if [ -d "$work/prefix" ]; then
    WINEPREFIX="$work/prefix" "$WINE_SERVER" -k 2>/dev/null || true
    WINEPREFIX="$work/prefix" timeout 10 "$WINE_SERVER" -w 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of our own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
i=0
while [ ! -s "$work/display" ]; do
  i=$((i + 1))
  if [ $i -gt 500 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "session.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 2
  fi
  sleep 0.02
done
export DISPLAY=":$(head -n1 "$work/display")"

# A copy of the template prefix, built once; concurrent sessions wait for each other.
copy_prefix "$work/prefix" "$template" unmanaged "$dpi"
export WINEPREFIX="$work/prefix"
"$WINE_SERVER" -p

program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
set -- "$program" "$@"
count=$#
for arg; do
  case $arg in
    /*) [ -e "$arg" ] && arg=$(windows_path "$arg") ;;
  esac
  set -- "$@" "$arg"
done
shift "$count"
if [ -n "$artifacts" ]; then
  mkdir -p "$artifacts"
  artifacts=$(cd "$artifacts" && pwd)
  set -- "$@" --artifacts "$(windows_path "$artifacts")"
fi

status=0
timeout -k 5 "$limit" "$WINE_LOADER" "$@" || status=$?

if [ -n "$artifacts" ]; then
  for bmp in "$artifacts"/*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
fi
exit "$status"
