#!/bin/sh
# Packs the release from a finished Windows build into a scratch directory,
# twice, and checks the result: the four files, the checksum file, and that
# packing again gives the same bytes.
#   check_dist.sh BUILD-DIR SCRATCH-DIR
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch/a" "$scratch/b"

fail() {
  echo "FAIL $*" >&2
  exit 1
}

"$repo/tools/make-dist.sh" "$build" "$scratch/a" >/dev/null
SOURCE_DATE_EPOCH=$(git -C "$repo" log -1 --format=%ct 2>/dev/null || echo 0) \
  "$repo/tools/make-dist.sh" "$build" "$scratch/b" >/dev/null

version=$(sed -n 's/^#define YISHU_VERSION_STRING "\(.*\)"$/\1/p' \
  "$build/generated/yishu/version.h")
name=$(cd "$scratch/a" && ls yishu-*-win64.zip 2>/dev/null || true)
case $name in
  "yishu-$version-win64.zip" | "yishu-$version".[0-9]*-win64.zip) ;;
  *) fail "expected yishu-$version-win64.zip, found: $(ls "$scratch/a")" ;;
esac

(cd "$scratch/a" && sha256sum -c --quiet "$name.sha256") || fail "checksum file does not match"
[ "$(cut -d' ' -f3 "$scratch/a/$name.sha256")" = "$name" ] || fail "checksum file names another file"

listing=$(python3 -c 'import sys, zipfile; print(*zipfile.ZipFile(sys.argv[1]).namelist())' \
  "$scratch/a/$name")
[ "$listing" = "yishu.exe telecode.exe README.md LICENSE" ] || fail "zip holds: $listing"

python3 -m zipfile -e "$scratch/a/$name" "$scratch/unpacked"
for doc in README.md LICENSE; do
  cmp -s "$repo/$doc" "$scratch/unpacked/$doc" || fail "$doc in the zip differs from the repository's"
done
for exe in yishu.exe telecode.exe; do
  [ "$(head -c 2 "$scratch/unpacked/$exe")" = MZ ] || fail "$exe is not a Windows program"
done

cmp -s "$scratch/a/$name" "$scratch/b/$name" || fail "packing twice gave different zips"
echo "$name: 4 files, checksum good, reproducible"
