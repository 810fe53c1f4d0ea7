#!/bin/sh
# Prints how long one keystroke takes in yishu.exe with a large input box
# (100,000 characters unless given), measured under Wine on a private
# display: from the key being sent until the output box shows the new
# conversion. Build first: make windows.
#
#   tests/gui/keystroke_bench.sh [CHARACTERS] [BUILD_DIR]
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
characters=${1:-100000}
build=${2:-$repo/build/windows}
driver=$build/tests/gui/yishu_gui_driver.exe
program=$build/app/yishu.exe
for file in "$driver" "$program"; do
  [ -f "$file" ] || { echo "missing $file: run 'make windows' first" >&2; exit 1; }
done
exec "$repo/tools/wine/session.sh" --timeout 1200 -- "$driver" "$program" --bench "$characters"
