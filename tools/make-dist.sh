#!/bin/sh
# Packs the Windows release: DIST/yishu-VERSION-win64.zip holding yishu.exe,
# telecode.exe, README.md and LICENSE, and beside it the zip's SHA-256 in
# sha256sum format (yishu-VERSION-win64.zip.sha256).
#
#   tools/make-dist.sh [BUILD-DIR [DIST-DIR]]   (defaults: build/windows, dist)
#
# BUILD-DIR is a finished MinGW build (`make windows`). The version comes from
# its generated yishu/version.h, that is from the project version in the
# top-level CMakeLists.txt. The zip is reproducible: fixed file order, modes
# and times (SOURCE_DATE_EPOCH, else the last commit's time), no extra fields.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build/windows}
dist=${2:-$repo/dist}

fail() {
  echo "make-dist: $*" >&2
  exit 1
}

header=$build/generated/yishu/version.h
[ -f "$header" ] || fail "$header is missing: build the Windows program first (make windows)"
version_part() {
  sed -n "s/^#define YISHU_VERSION_$1 \\([0-9][0-9]*\\)\$/\\1/p" "$header"
}
major=$(version_part MAJOR)
minor=$(version_part MINOR)
patch=$(version_part PATCH)
tweak=$(version_part TWEAK)
[ -n "$major" ] && [ -n "$minor" ] && [ -n "$patch" ] ||
  fail "$header holds no version numbers"
version=$major.$minor.$patch
[ "${tweak:-0}" = 0 ] || version=$version.$tweak

name=yishu-$version-win64
yishu=$build/app/yishu.exe
telecode=$build/cli/telecode.exe
for file in "$yishu" "$telecode"; do
  [ -f "$file" ] || fail "$file is missing: build the Windows program first (make windows)"
done
for file in README.md LICENSE; do
  [ -f "$repo/$file" ] || fail "$repo/$file is missing"
done
for tool in zip sha256sum x86_64-w64-mingw32-strip; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing: run tools/install-deps.sh"
done

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct 2>/dev/null || echo 0)}
# DOS times start in 1980; zip cannot store anything older.
[ "$epoch" -ge 315532800 ] || epoch=315532800

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
stage=$(mktemp -d "$dist/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT INT TERM

# Symbols only make the download bigger; the build's own files stay as they are.
# strip stamps the PE header with SOURCE_DATE_EPOCH instead of the clock.
export SOURCE_DATE_EPOCH=$epoch
x86_64-w64-mingw32-strip -o "$stage/yishu.exe" "$yishu"
x86_64-w64-mingw32-strip -o "$stage/telecode.exe" "$telecode"
cp "$repo/README.md" "$repo/LICENSE" "$stage/"
chmod 0755 "$stage/yishu.exe" "$stage/telecode.exe"
chmod 0644 "$stage/README.md" "$stage/LICENSE"
for file in yishu.exe telecode.exe README.md LICENSE; do
  TZ=UTC touch -d "@$epoch" "$stage/$file"
done

zip_file=$dist/$name.zip
rm -f "$zip_file" "$zip_file.sha256"
(cd "$stage" && TZ=UTC zip -X -D -q -9 "$zip_file" yishu.exe telecode.exe README.md LICENSE)
(cd "$dist" && sha256sum "$name.zip" >"$name.zip.sha256")

echo "$zip_file"
echo "$zip_file.sha256: $(cut -d' ' -f1 "$zip_file.sha256")"
