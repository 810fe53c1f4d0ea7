#!/bin/sh
# Installs the npm package (npm pack's tarball from the web build) into a new
# project in a temporary folder, as a user would, and runs its tests there
# with Node's test runner. Nothing comes from the network.
#   tools/test-npm.sh [WEB-BUILD-DIR]   (build/web unless given)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/web}" && pwd)
tarball=$(ls "$build"/npm/yishu-*.tgz)
project=$(mktemp -d)
trap 'rm -rf "$project"' EXIT
cd "$project"
echo '{ "name": "yishu-user", "private": true, "type": "module" }' >package.json
npm install --offline --no-audit --no-fund --loglevel=error "$tarball" >/dev/null
cp "$root/npm/test/package.test.mjs" .
YISHU_CASES=$root/tests/cases/conversion.tsv node --test package.test.mjs
