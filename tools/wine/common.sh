# Shared by the Wine scripts (sourced, POSIX sh): where Wine lives, the
# environment every Wine process gets, and how a prefix is made.

WINE_LOADER=${WINE_LOADER:-/usr/lib/wine/wine64}
# Wine's caption-button font (package fonts-wine), which Wine does not find
# on its own here: without it the caption buttons draw as letters. Only this
# one: with Wine's Tahoma present, captions would lose the CJK fallback.
WINE_MARLETT=${WINE_MARLETT:-/usr/share/wine/fonts/marlett.ttf}
# Bumped whenever create_prefix changes, so that cached templates are remade.
PREFIX_LAYOUT=3
WINE_SERVER=${WINE_SERVER:-/usr/lib/wine/wineserver64}

# Quiet, 64-bit, no Mono/Gecko installers, a fixed UTF-8 locale. The Chinese
# texts render through the font replacements below, not through the locale.
wine_env() {
  export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
  export WINELOADER="$WINE_LOADER" WINESERVER="$WINE_SERVER"
}

# Prints a Unix path as the Windows path Wine sees (drive Z: is the root).
windows_path() {
  printf 'Z:%s' "$1" | tr / '\\'
}

# Writes registry settings for `regedit /S` to $1: UTF-16LE with a byte-order
# mark, as regedit wants. $2 = "unmanaged" adds the settings for a bare X
# server: without a window manager, managed windows stall ~2 s whenever one
# is hidden or destroyed.
write_registry_file() {
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"宋体"="WenQuanYi Micro Hei"\r\n'
    printf '"SimSun"="WenQuanYi Micro Hei"\r\n\r\n'
    if [ "${2:-}" = unmanaged ]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
      printf '"Managed"="N"\r\n'
      printf '"Decorated"="N"\r\n\r\n'
    fi
    if [ -n "${3:-}" ]; then
      printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
      printf '"LogPixels"=dword:%08x\r\n\r\n' "$3"
    fi
  } | { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE; } >"$1"
}

# Creates a Wine prefix at $1 with the registry settings of
# write_registry_file ($2, $3). Needs wine_env, WINEPREFIX unset or equal to
# $1, and a TMPDIR of the caller's own (the server's socket lives there).
create_prefix() {
  mkdir -p "$1"
  WINEPREFIX=$1 "$WINE_LOADER" wineboot -i >/dev/null 2>&1
  if [ -f "$WINE_MARLETT" ]; then ln -sf "$WINE_MARLETT" "$1/drive_c/windows/Fonts/"; fi
  write_registry_file "$1/yishu.reg" "${2:-}" "${3:-}"
  WINEPREFIX=$1 "$WINE_LOADER" regedit /S "$(windows_path "$1/yishu.reg")" >/dev/null 2>&1
  # The server writes the registry to disk when it ends.
  WINEPREFIX=$1 "$WINE_SERVER" -w
  echo "$PREFIX_LAYOUT" >"$1/yishu-prefix-layout"
}

# Makes $1 a private copy of the template prefix $2, building the template
# first if it is missing (create_prefix with $3 and $4; concurrent callers
# wait for each other). Needs what create_prefix needs.
#
# Wine's own libraries (system32 and the like, about 650 MB with Debian's
# Wine) are only ever read, so they are linked, not copied: a copy takes a
# fraction of a second instead of several on a busy disk. Everything else
# (registry, settings, the user's folders) is copied, since programs write
# there; a new prefix would take 7-10 s.
copy_prefix() {
  if [ ! -f "$2/system.reg" ]; then
    mkdir -p "$(dirname "$2")"
    (
      flock 9
      if [ ! -f "$2/system.reg" ]; then
        rm -rf "$2.new"
        create_prefix "$2.new" "${3:-}" "${4:-}"
        rm -rf "$2"
        mv "$2.new" "$2"
      fi
    ) 9>"$2.lock"
  fi
  mkdir -p "$1"
  tar -C "$2" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 \
    --exclude=./drive_c/windows/winsxs -cf - . | tar -C "$1" -xf -
  for libraries in system32 syswow64 winsxs; do
    if [ -d "$2/drive_c/windows/$libraries" ]; then
      # (copied after all where links can't go: another file system)
      cp -al "$2/drive_c/windows/$libraries" "$1/drive_c/windows/" 2>/dev/null ||
        cp -a "$2/drive_c/windows/$libraries" "$1/drive_c/windows/"
    fi
  done
}

# For the tests of console programs: a work directory WORK (holding TMPDIR,
# where the server's socket lives) and in it a throwaway copy of the template
# prefix as WINEPREFIX. On exit, this prefix's Wine processes are ended and
# WORK is removed. Needs $repo, the checkout's top directory.
start_console_prefix() {
  wine_env
  unset WINEPREFIX
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/yishu-wine.XXXXXX")
  export TMPDIR="$WORK/tmp"
  mkdir -p "$TMPDIR"
  trap end_console_prefix EXIT
  trap 'exit 130' INT TERM
  copy_prefix "$WORK/prefix" "$repo/build/wine-template-$PREFIX_LAYOUT-96" unmanaged 96
  export WINEPREFIX="$WORK/prefix"
}

end_console_prefix() {
  "$WINE_SERVER" -k 2>/dev/null || true
  timeout 10 "$WINE_SERVER" -w 2>/dev/null || true
  rm -rf "$WORK"
}
