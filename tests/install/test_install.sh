#!/bin/sh
# Installs yishu as its users do and uses what was installed.
#
#   test_install.sh installed BUILD-DIR VERSION     cmake --install of the build
#   test_install.sh shared SOURCE-DIR VERSION       a shared-library build of its own
#   test_install.sh packages BUILD-DIR VERSION      the Debian packages (CPack)
#   test_install.sh subproject SOURCE-DIR VERSION   a part of another project's build
#
# VERSION is MAJOR.MINOR.PATCH. Work files go to the current directory.
set -eu

mode=$1
tree=$(cd "$2" && pwd)
version=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(pwd)/$mode
rm -rf "$work"
mkdir -p "$work"
minor=${version%.*}
next_minor=${minor%.*}.$((${minor#*.} + 1))

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The files under $1, one per line, relative to it (symbolic links too).
files() {
  (cd "$1" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
}

expect_files() {
  files "$1" >"$work/files.actual"
  LC_ALL=C sort >"$work/files.expected"
  diff -u "$work/files.expected" "$work/files.actual" || fail "$1 holds other files than expected"
}

# The installed telecode converts, and its manual page reads cleanly and
# documents every option that --help lists.
check_telecode() {
  bin=$1
  man_page=$2
  out=$(printf '0022 2429 ' | "$bin" -d)
  [ "$out" = "中文" ] || fail "$bin -d gave '$out'"
  [ "$("$bin" --version)" = "telecode $version" ] || fail "$bin --version: $("$bin" --version)"
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man_page" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man -l $man_page failed: $(cat "$work/man.err")"
  [ ! -s "$work/man.err" ] || fail "man -l $man_page warns: $(cat "$work/man.err")"
  for heading in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES; do
    grep -q "^$heading\$" "$work/man.txt" || fail "the manual page lacks $heading"
  done
  grep -q "telecode - convert between Chinese telegraph codes and characters" "$work/man.txt" ||
    fail "the manual page's NAME line is wrong"
  grep -q "中文" "$work/man.txt" || fail "the manual page lost its Chinese text"
  for option in $("$bin" --help | grep -o -e '--[a-z][a-z-]*' | sort -u); do
    grep -q -e "$option" "$work/man.txt" || fail "the manual page lacks $option"
  done
}

# Builds the consumer against the installed prefix $1 with find_package and
# with pkg-config, and runs both.
check_consumers() {
  prefix=$1
  cmake -S "$here/consumer" -B "$work/cmake-consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DYISHU_VERSION="$minor" >"$work/configure.log" 2>&1 || {
    cat "$work/configure.log"
    fail "find_package(yishu $minor) failed"
  }
  cmake --build "$work/cmake-consumer" >"$work/build.log" 2>&1 || {
    cat "$work/build.log"
    fail "the find_package consumer did not build"
  }
  # A newer minor version may have another interface: not found.
  if cmake -S "$here/consumer" -B "$work/newer-consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DYISHU_VERSION="$next_minor" >/dev/null 2>&1; then
    fail "find_package(yishu $next_minor) accepted version $version"
  fi

  pc_dir=$(dirname "$(find "$prefix" -name yishu.pc)")
  [ "$(PKG_CONFIG_PATH=$pc_dir pkg-config --modversion yishu)" = "$version" ] ||
    fail "pkg-config --modversion yishu is not $version"
  # shellcheck disable=SC2046
  c++ -std=c++20 -o "$work/pc-consumer" "$here/consumer/main.cpp" \
    $(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags --libs yishu) || fail "the pkg-config consumer did not build"

  # A C program: the C interface's own test, linked with -lyishu (and the C++
  # runtime, which the static library needs).
  # shellcheck disable=SC2046
  cc -std=c99 -o "$work/c-consumer" "$here/../c_api/c_api_test.c" \
    $(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags --libs yishu) -lstdc++ -lm ||
    fail "the C consumer did not build"
  "$work/c-consumer" "$here/../cases/conversion.tsv" || fail "the C consumer failed"

  for consumer in "$work/cmake-consumer/consumer" "$work/pc-consumer"; do
    out=$("$consumer" '0022 2429 ')
    [ "$out" = "中文|0022 2429 |5 1" ] || fail "$consumer gave '$out'"
  done
}

static_files="bin/telecode
include/yishu/yishu.h
include/yishu/yishu_c.h
lib/cmake/yishu/yishuConfig.cmake
lib/cmake/yishu/yishuConfigVersion.cmake
lib/cmake/yishu/yishuTargets-release.cmake
lib/cmake/yishu/yishuTargets.cmake
lib/libyishu.a
lib/pkgconfig/yishu.pc
share/man/man1/telecode.1.gz"

case $mode in
installed)
  prefix=$work/prefix
  cmake --install "$tree" --prefix "$prefix" >/dev/null
  echo "$static_files" | expect_files "$prefix"
  check_telecode "$prefix/bin/telecode" "$prefix/share/man/man1/telecode.1.gz"
  check_consumers "$prefix"
  ;;

shared)
  build=$work/build
  prefix=$work/prefix
  cmake -S "$tree" -B "$build" -DBUILD_SHARED_LIBS=ON -DYISHU_TESTS=OFF >/dev/null
  cmake --build "$build" -j 2 >"$work/build.log" 2>&1 || {
    cat "$work/build.log"
    fail "the shared build failed"
  }
  ! grep -i "warning" "$work/build.log" || fail "the shared build warns"
  # DESTDIR, as packagers install.
  DESTDIR=$work/dest cmake --install "$build" --prefix /usr/local >/dev/null
  expect_files "$work/dest/usr/local" <<EOF2
$(echo "$static_files" | grep -v libyishu.a)
lib/libyishu.so
lib/libyishu.so.$minor
lib/libyishu.so.$version
EOF2
  mv "$work/dest/usr/local" "$prefix"
  library=$prefix/lib/libyishu.so.$version
  soname=$(readelf -d "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = "libyishu.so.$minor" ] || fail "SONAME is '$soname', not libyishu.so.$minor"
  [ "$(readlink "$prefix/lib/libyishu.so.$minor")" = "libyishu.so.$version" ] || fail "libyishu.so.$minor links elsewhere"
  # Only the interface of yishu.h is exported, not the engine's insides.
  nm -D -C --defined-only "$library" | sed 's/^[0-9a-f]* [A-Za-z] //' >"$work/exports.txt"
  for symbol in 'yishu::ConvertText' 'yishu::Converter<char>::Feed(' 'yishu::Converter<char16_t>::Finish(' 'yishu::Report::Merge(' 'yishu::CodeBook(' 'yishu::CodesOf(' 'yishu::CharacterOf(' 'yishu_convert' 'yishu_converter_feed' 'yishu_codes_of'; do
    grep -qF "$symbol" "$work/exports.txt" || fail "$symbol is not exported"
  done
  if grep -F 'yishu::detail' "$work/exports.txt"; then fail "the library exports its insides"; fi
  LD_LIBRARY_PATH=$prefix/lib
  export LD_LIBRARY_PATH
  ldd "$prefix/bin/telecode" | grep -q "libyishu.so.$minor => $prefix/lib/" ||
    fail "the installed telecode does not use the installed library"
  check_telecode "$prefix/bin/telecode" "$prefix/share/man/man1/telecode.1.gz"
  check_consumers "$prefix"
  ldd "$work/pc-consumer" | grep -q "libyishu.so.$minor" || fail "the pkg-config consumer is not linked to the shared library"
  ;;

packages)
  cpack --config "$tree/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack failed"
  }
  arch=$(dpkg --print-architecture)
  runtime=$work/out/yishu_${version}_$arch.deb
  dev=$work/out/yishu-dev_${version}_$arch.deb
  (cd "$work/out" && ls ./*.deb | sed 's|^\./||') >"$work/debs"
  printf 'yishu-dev_%s_%s.deb\nyishu_%s_%s.deb\n' "$version" "$arch" "$version" "$arch" |
    diff -u - "$work/debs" || fail "cpack made other packages than yishu and yishu-dev"

  field() { dpkg-deb -f "$1" "$2"; }
  for deb in "$runtime" "$dev"; do
    [ "$(field "$deb" Version)" = "$version" ] || fail "$deb: Version $(field "$deb" Version)"
    [ "$(field "$deb" Architecture)" = "$arch" ] || fail "$deb: Architecture"
    [ -n "$(field "$deb" Maintainer)" ] || fail "$deb: no Maintainer"
    # A synopsis line, then a long description.
    [ "$(field "$deb" Description | wc -l)" -ge 3 ] || fail "$deb: the description has no long part"
    dpkg-deb -c "$deb" | awk '{print $1, $2, $6}' | grep -v '^d' >"$work/$(basename "$deb").list"
    ! grep -v '^-rw-r--r-- root/root \|^-rwxr-xr-x root/root \|^l' "$work/$(basename "$deb").list" ||
      fail "$deb: files not owned by root or with odd modes"
  done
  [ "$(field "$runtime" Package)" = yishu ] || fail "$runtime: Package"
  [ "$(field "$runtime" Section)" = utils ] || fail "$runtime: Section $(field "$runtime" Section)"
  [ "$(field "$dev" Package)" = yishu-dev ] || fail "$dev: Package"
  [ "$(field "$dev" Section)" = libdevel ] || fail "$dev: Section $(field "$dev" Section)"
  field "$runtime" Description | head -1 | grep -q "Chinese telegraph codes" || fail "$runtime: synopsis"
  # dpkg-shlibdeps: telecode needs the C and C++ runtime libraries.
  depends=$(field "$runtime" Depends)
  for library in libc6 libstdc++6 libgcc-s1; do
    echo "$depends" | grep -q "$library (>= " || fail "$runtime: Depends '$depends' lacks $library"
  done

  dpkg-deb -x "$runtime" "$work/root"
  dpkg-deb -x "$dev" "$work/root"
  expect_files "$work/root/usr" <<EOF2
$static_files
share/doc/yishu-dev/copyright
share/doc/yishu/copyright
EOF2
  cmp "$work/root/usr/share/doc/yishu/copyright" "$here/../../LICENSE" || fail "the copyright file is not the licence"
  file -b "$work/root/usr/bin/telecode" | grep -q ', stripped' || fail "telecode is not stripped"
  check_telecode "$work/root/usr/bin/telecode" "$work/root/usr/share/man/man1/telecode.1.gz"
  check_consumers "$work/root/usr"
  ;;

subproject)
  # The parent's build type stays its own (none, or the one it set); the
  # parent gets no packaging, tests or install rules of yishu's.
  for build_type in "" Debug; do
    build=$work/build$build_type
    env -u CMAKE_BUILD_TYPE cmake -S "$here/parent" -B "$build" -DYISHU_SOURCE_DIR="$tree" \
      ${build_type:+"-DCMAKE_BUILD_TYPE=$build_type"} >"$work/configure.log" 2>&1 || {
      cat "$work/configure.log"
      fail "the parent project did not configure"
    }
    ! grep -q "Warning" "$work/configure.log" || fail "yishu warns in the parent: $(cat "$work/configure.log")"
    actual=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
    [ "$actual" = "$build_type" ] || fail "the parent's build type '$build_type' became '$actual'"
    [ -z "$(find "$build" -name 'CPack*.cmake')" ] || fail "yishu wrote CPack files into the parent's build"
  done
  build=$work/build
  cmake --build "$build" -j 2 >"$work/build.log" 2>&1 || {
    cat "$work/build.log"
    fail "the parent project did not build"
  }
  (cd "$build" && ctest -N) | grep -q "^Total Tests: 0$" || fail "yishu added tests to the parent"
  cmake --install "$build" --prefix "$work/prefix" >/dev/null
  [ ! -e "$work/prefix" ] || fail "yishu installed into the parent's prefix: $(files "$work/prefix")"
  out=$("$build/consumer" '7115 1129 2429 ')
  [ "$out" = "陈大文|7115 1129 2429 |5 1" ] || fail "the parent's consumer gave '$out'"
  ;;

*)
  fail "unknown mode $mode"
  ;;
esac
echo "ok: $mode"
