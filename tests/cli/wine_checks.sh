# Shared by the scripts that run telecode.exe under Wine (sourced, POSIX sh):
# a throwaway copy of the Wine tests' template prefix to work in, one server
# for all the runs, and checks that count their failures.
repo=$(cd "$(dirname "$0")/../.." && pwd)
. "$repo/tools/wine/common.sh"
WINE=$WINE_LOADER
WINESERVER=$WINE_SERVER
start_console_prefix
# Started on demand, a server would end between the runs and cost each start
# a second or more, or be started under a run's file size limit.
"$WINESERVER" -p
cd "$WORK"

failures=0
check() {  # name expected actual [file whose text explains a failure]
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    echo "FAILED: $1: expected '$2', got '$3'"
    if [ -n "${4:-}" ]; then echo "  $4 says: $(cat "$4")"; fi
    failures=$((failures + 1))
  fi
}
hex() { od -An -tx1 | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }
