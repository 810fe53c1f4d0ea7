#!/bin/sh
# Screenshots of the main dialog at 100 %, 150 % and 200 % scaling under Wine
# (the prefix's LogPixels at 96, 144 and 192), for people to check that the
# dialog is crisp and laid out alike at every scaling.
#
#   tools/wine/dpi-screenshots.sh [BUILD-DIR]     (default: build/windows)
#
# Needs a finished Windows build (make windows). Writes
# BUILD-DIR/artifacts/dialog-96dpi.png, dialog-144dpi.png and dialog-192dpi.png,
# each taken by the GUI driver after a conversion, in a session of its own
# (tools/wine/session.sh: private X display and Wine prefix).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$repo/build/windows}" && pwd)
yishu=$build/app/yishu.exe
driver=$build/tests/gui/yishu_gui_driver.exe
for file in "$yishu" "$driver"; do
  [ -f "$file" ] || {
    echo "dpi-screenshots: $file is missing: build the Windows program first (make windows)" >&2
    exit 2
  }
done

out=$build/artifacts
mkdir -p "$out"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/yishu-dpi.XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM

status=0
for dpi in 96 144 192; do
  mkdir "$scratch/$dpi"
  if "$here/session.sh" --dpi "$dpi" --timeout 120 --artifacts "$scratch/$dpi" -- \
    "$driver" "$yishu" screenshot >"$scratch/$dpi.log" 2>&1 &&
    [ -f "$scratch/$dpi/main-dialog.png" ]; then
    mv "$scratch/$dpi/main-dialog.png" "$out/dialog-${dpi}dpi.png"
    echo "$out/dialog-${dpi}dpi.png: $(identify -format '%wx%h' "$out/dialog-${dpi}dpi.png")"
  else
    echo "dpi-screenshots: no screenshot at $dpi dpi:" >&2
    cat "$scratch/$dpi.log" >&2
    status=1
  fi
done
exit "$status"
