#!/bin/sh
# Runs a build's CTest tests many times in a row and prints how often each
# passed: a test that fails at random shows here before it reddens anyone's
# `make test`. Build first (make windows / make native).
#
#   tools/soak-tests.sh [--runs N] [--busy] [--build DIR] [-- CTEST-ARGS...]
#
#   --runs N     how many times (default 10)
#   --busy       keeps every core busy while the tests run (one `yes` per
#                core, started here and ended here by process id)
#   --build DIR  the build directory (default build/windows)
#   CTEST-ARGS   passed on to ctest, e.g. -R gui
#
# The output of every failed run is kept in DIR/soak/run-K.log. The exit
# status is 0 only if every run passed.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=10
busy=no
build=$repo/build/windows
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --busy) busy=yes; shift ;;
    --build) build=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "soak-tests.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ -f "$build/CTestTestfile.cmake" ] || {
  echo "soak-tests.sh: no tests in $build; build first (make windows)" >&2
  exit 2
}

logs=$build/soak
mkdir -p "$logs"
rm -f "$logs"/run-*.log "$logs/results"
load_pids=""
cleanup() {
  for pid in $load_pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $load_pids; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$busy" = yes ]; then
  cores=$(nproc 2>/dev/null || echo 2)
  i=0
  while [ $i -lt "$cores" ]; do
    yes >/dev/null &
    load_pids="$load_pids $!"
    i=$((i + 1))
  done
  echo "soak: $cores cores kept busy (pids$load_pids)"
fi

started=$(date +%s)
failed_runs=0
run=1
while [ "$run" -le "$runs" ]; do
  log=$logs/run-$run.log
  run_started=$(date +%s)
  status=0
  ctest --test-dir "$build" --output-on-failure "$@" >"$log" 2>&1 || status=$?
  # "  3/5 Test #3: gui.main_dialog ........   Passed   34.12 sec"
  sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) [ .]*\(\**[A-Za-z][A-Za-z ]*\) .*/\1 \2/p' "$log" |
    sed 's/\*//g; s/ *$//' >>"$logs/results"
  failures=$(sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) [ .]*\*\*\*.*/\1/p' "$log" | tr '\n' ' ')
  if [ "$status" -eq 0 ]; then
    rm -f "$log"
    echo "run $run/$runs: passed, $(($(date +%s) - run_started)) s"
  else
    failed_runs=$((failed_runs + 1))
    echo "run $run/$runs: FAILED ${failures:-(ctest status $status)}, $(($(date +%s) - run_started)) s; see $log"
  fi
  run=$((run + 1))
done

echo "soak: $runs runs, $failed_runs failed, $(($(date +%s) - started)) s, busy cores: $busy"
echo "passes per test:"
awk '{ total[$1]++; if ($2 == "Passed") passed[$1]++ }
     END { for (t in total) printf "  %-28s %d of %d\n", t, passed[t], total[t] }' \
  "$logs/results" | sort
[ "$failed_runs" -eq 0 ]
