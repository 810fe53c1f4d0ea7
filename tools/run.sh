#!/bin/sh
# `make run`: opens the Windows program, yishu.exe, under Wine on this
# display. Its Wine prefix lives in build/wine-run (made on first use, with
# 宋体/SimSun mapped to an installed CJK font so that Chinese renders).
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/tools/wine/common.sh"

exe=$repo/build/windows/app/yishu.exe

cli_sample() {
  telecode=$repo/build/native/cli/telecode
  [ -x "$telecode" ] || telecode=$repo/build/release/cli/telecode
  [ -x "$telecode" ] || return 0
  echo "Meanwhile, the command-line converter telecode works without one:"
  echo "  \$ echo 中文电报码 | $telecode"
  echo "中文电报码" | "$telecode" | sed 's/^/  /'
}

if [ ! -f "$exe" ]; then
  echo "yishu.exe is not built yet: run 'make windows' (or 'make run', which builds it)." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "yishu.exe is a Windows program: it needs a graphical display to open its window," >&2
  echo "and DISPLAY is not set. Run 'make run' from a desktop session (X11, or XWayland)." >&2
  cli_sample >&2
  exit 1
fi
if [ ! -x "$WINE_LOADER" ]; then
  echo "Wine is missing ($WINE_LOADER): run tools/install-deps.sh." >&2
  exit 1
fi

wine_env
export WINEPREFIX="$repo/build/wine-run"
if [ "$(cat "$WINEPREFIX/yishu-prefix-layout" 2>/dev/null)" != "$PREFIX_LAYOUT" ]; then
  echo "Preparing a Wine prefix in build/wine-run (once, about 20 seconds)..."
  rm -rf "$WINEPREFIX"
  create_prefix "$WINEPREFIX"
fi
echo "Opening yishu.exe on display $DISPLAY (close it with its Exit button, 退出)."
exec "$WINE_LOADER" "$exe"
