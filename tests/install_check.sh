#!/usr/bin/env bash
# The installed tree and its Debian package, checked the way a distribution would:
# install the build into a temporary prefix, validate the desktop entry, the AppStream
# metadata and the manual page, check the files and the program's RPATH, run the
# installed program (install_program_test), then build the .deb with cpack, list it and
# have lintian check it as Debian's archive would (errors fail, warnings are shown).
# Usage: install_check.sh BUILD_DIR PROGRAM_TEST VERSION APP_ID
set -euo pipefail
build=$(cd "$1" && pwd)
program_test=$2
version=$3
app_id=$4

fail() {
  echo "install_check: $*" >&2
  exit 1
}
need() {
  command -v "$1" >/dev/null || fail "$1 is missing (./scripts/setup.sh installs it)"
}
need desktop-file-validate
need appstreamcli
need groff
need readelf

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install failed"; }

for file in bin/vorn lib/vorn/libgstzarvex.so \
  "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
  share/man/man1/vorn.1.gz share/doc/vorn/copyright share/doc/vorn/changelog.Debian.gz \
  "share/icons/hicolor/scalable/apps/$app_id.svg" \
  "share/icons/hicolor/16x16/apps/$app_id.png" "share/icons/hicolor/32x32/apps/$app_id.png" \
  "share/icons/hicolor/48x48/apps/$app_id.png" "share/icons/hicolor/128x128/apps/$app_id.png" \
  "share/icons/hicolor/24x24/apps/$app_id.png" "share/icons/hicolor/64x64/apps/$app_id.png" \
  "share/icons/hicolor/256x256/apps/$app_id.png"; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done

# Nothing installed may load libraries from the build or source tree.
for elf in "$prefix/bin/vorn" "$prefix/lib/vorn/libgstzarvex.so"; do
  if readelf -d "$elf" | grep -E 'R(UN)?PATH' | grep -q -e "$build" -e "$(dirname "$build")"; then
    fail "$elf keeps a build-tree RPATH: $(readelf -d "$elf" | grep -E 'R(UN)?PATH')"
  fi
done

desktop="$prefix/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate found problems in $desktop"
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's icon is not $app_id"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$tmp/appstream.log" ||
  { cat "$tmp/appstream.log"; fail "appstreamcli found problems in the metadata"; }
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metadata's release is not $version"
warnings=$(gzip -dc "$prefix/share/man/man1/vorn.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"

# The installed program, away from the build tree: no plug-in path into it.
env -u GST_PLUGIN_PATH -u LD_LIBRARY_PATH -u VORN_AUDIO_SINK QT_QPA_PLATFORM=offscreen \
  VORN_BIN_DIR="$prefix/bin" "$program_test" || fail "the installed program did not play"

if ! command -v cpack >/dev/null || ! command -v dpkg-deb >/dev/null; then
  echo "install_check: no cpack or dpkg-deb, the Debian package is not checked"
  exit 0
fi
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fail "cpack -G DEB failed"; }
deb=$(ls "$tmp"/package/*.deb)
dpkg-deb -c "$deb" >"$tmp/contents"
for file in ./usr/bin/vorn ./usr/lib/vorn/libgstzarvex.so "./usr/share/applications/$app_id.desktop"; do
  grep -q " $file\$" "$tmp/contents" || { cat "$tmp/contents"; fail "$file is not in $(basename "$deb")"; }
done
[ "$(dpkg-deb -f "$deb" Package)" = vorn ] || fail "the package is not named vorn"
case $(dpkg-deb -f "$deb" Version) in
  "$version"-[0-9]*) ;;
  *) fail "the package's version is not $version with a Debian revision" ;;
esac
[ "$(dpkg-deb -f "$deb" Section)" = sound ] || fail "the package's section is not sound"
dpkg-deb -f "$deb" Depends | grep -q libgstreamer1.0-0 || fail "the package does not depend on GStreamer"
# Nothing to run at installation: the plug-in is private, so no ldconfig.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E '(pre|post)(inst|rm)$' || true)
[ -z "$scripts" ] || fail "$(basename "$deb") has maintainer scripts: $scripts"
need lintian
lintian --fail-on error "$deb" >"$tmp/lintian.log" 2>&1 ||
  { cat "$tmp/lintian.log"; fail "lintian found errors in $(basename "$deb")"; }
grep -E '^[WE]: ' "$tmp/lintian.log" || true
echo "install_check: $(basename "$deb") holds the installed tree and passes lintian"
