#!/bin/sh
# `make run`: shows the command-line converter on a short sample.
set -eu
cd "$(dirname "$0")/.."
T=build/native/cli/telecode
if [ ! -x "$T" ]; then
  echo "The converter is not built yet: neither the Windows program nor telecode exists." >&2
  exit 1
fi
echo "中文电报码" | $T
printf '0022 2429 7193 1032 4316 ' | $T -d; echo
