#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs from it.
#   check_install.sh BUILD_DIR files|desktop-entry|metainfo
# Exit 77 (skipped) when the validator a check needs is not installed.
set -euo pipefail
build="$1"
check="$2"
app_id=com.tessaldesign.Tavrin

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

png_size() { # width x height from the PNG header
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

case "$check" in
files)
  for program in tavrin tavrin-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
  done
  desktop="$prefix/share/applications/$app_id.desktop"
  [ -f "$desktop" ] || fail "no desktop entry"
  grep -q '^Exec=tavrin$' "$desktop" || fail "the desktop entry does not start tavrin"
  grep -q '^Icon='"$app_id"'$' "$desktop" || fail "the desktop entry names another icon"
  # The editor refuses files given to it: no file type may be associated with it.
  if grep -q '^MimeType=' "$desktop"; then fail "the desktop entry claims file types"; fi
  if grep -q '%[fFuU]' "$desktop"; then fail "the desktop entry passes files to the editor"; fi
  [ -f "$prefix/share/metainfo/$app_id.metainfo.xml" ] || fail "no AppStream metainfo"
  grep -q '<release version="[0-9]' "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "metainfo without the version"
  grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "no scalable icon"
  for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(png_size "$png")"
  done
  # The installed tool starts (and, given no command, shows its usage with exit code 2).
  status=0
  QT_QPA_PLATFORM=offscreen "$prefix/bin/tavrin-cli" >/dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ] || fail "the installed tavrin-cli does not start (exit $status)"
  echo "installed files are complete"
  ;;
desktop-entry)
  if ! command -v desktop-file-validate >/dev/null; then
    echo "SKIPPED: desktop-file-validate is not installed (Debian package desktop-file-utils)"
    exit 77
  fi
  desktop-file-validate "$prefix/share/applications/$app_id.desktop"
  echo "desktop entry is valid"
  ;;
metainfo)
  if ! command -v appstreamcli >/dev/null; then
    echo "SKIPPED: appstreamcli is not installed (Debian package appstream)"
    exit 77
  fi
  appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
  ;;
*)
  fail "unknown check $check"
  ;;
esac
