#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program from there. With
# nothing beside it, it must find its plug-ins in lib/tessella/Plugins (the file plug-ins
# to read and write maps, the PNG image plug-in to draw one), and the prefix must hold the
# desktop entry, file types, icons, AppStream data and manual page in their places.
# Usage: installed-layout.sh BUILD_FOLDER VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "installed-layout: $*" >&2
  exit 1
}

prefix=$work/stage/usr
DESTDIR='' cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log"
  fail "cmake --install failed"
}

cd "$prefix"
for file in bin/tessella lib/tessella/Plugins/{tzp.so,gridcsv.so,tmx.so,png.spi} \
  share/tessella/Languages/{english,japanese}.ini share/mime/packages/tessella.xml \
  share/man/man1/tessella.1.gz share/doc/tessella/{copyright,changelog.gz} \
  share/icons/hicolor/scalable/mimetypes/application-x-{tzp,fmf}file.svg; do
  [ -f "$file" ] || fail "$file is not installed"
done
desktop=(share/applications/*.desktop)
metainfo=(share/metainfo/*.metainfo.xml)
[ ${#desktop[@]} -eq 1 ] && [ -f "${desktop[0]}" ] || fail "not one desktop entry: ${desktop[*]}"
[ ${#metainfo[@]} -eq 1 ] && [ -f "${metainfo[0]}" ] || fail "not one metainfo file"
id=$(basename "${desktop[0]}" .desktop)
grep -qx "Icon=$id" "${desktop[0]}" || fail "the desktop entry's icon is not $id"
[ -f "share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no program icon $id.svg"
grep -q "<id>$id</id>" "${metainfo[0]}" || fail "the metainfo's id is not $id"
[ "$(stat -c %a bin/tessella)" = 755 ] || fail "bin/tessella is not mode 755"
[ "$(stat -c %a lib/tessella/Plugins/tzp.so)" = 644 ] || fail "plug-ins are not mode 644"
# PNG renderings, where the build could make them, have the size their folder says.
for icon in share/icons/hicolor/*x*/*/*.png; do
  [ -f "$icon" ] || continue
  size=${icon#share/icons/hicolor/}
  size=${size%%x*}
  python3 -c 'import struct,sys; w,h=struct.unpack(">II",open(sys.argv[1],"rb").read()[16:24]); sys.exit(0 if w==h==int(sys.argv[2]) else 1)' \
    "$icon" "$size" || fail "$icon is not $size pixels square"
done

# The installed program, run as a user runs it, with no display.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/tessella" "$@"; }
[ "$(run --version)" = "Tessella $version" ] || fail "--version does not say Tessella $version"
mkdir "$work/maps"
cd "$work/maps"
python3 "$here/maps.py" make .
run --convert map.csv map.tzp || fail "--convert through the installed plug-ins failed"
run --info map.tzp | grep -q "tiles.png" || fail "--info does not name the parts image"
run --render map.tzp map.bmp || fail "--render with the installed image plug-in failed"
python3 "$here/maps.py" check map.bmp || fail "the rendered picture is wrong"
[ ! -e "$prefix/bin/Tessella.ini" ] || fail "the installed program wrote into its bin folder"
echo "installed-layout: passed"
