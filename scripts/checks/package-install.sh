#!/usr/bin/env bash
# Installs the Debian package into a clean Debian 12 system and uses it there as a user
# would: a chroot made with debootstrap in build/chroot/, `apt-get install ./tessella_*.deb`,
# `tessella --version`, `tessella --render` of a map with a PNG parts image, the installed
# editor under Xvfb (its window title, in the language the locale chooses), and the
# installed desktop entry opening a .tzp file through xdg-open.
#
# It takes minutes and downloads from the Debian mirror apt uses, so it runs only with
# TESSELLA_CHROOT_CHECK=1, and skips itself where it cannot run (not root, no debootstrap,
# no mirror). The base system is made once and kept as build/chroot/bookworm-base.tar;
# every run unpacks it into a fresh folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
name=package-install
skip() {
  echo "$name: skipped: $*"
  exit 0
}
fail() {
  echo "$name: FAILED: $*" >&2
  exit 1
}

[ "${TESSELLA_CHROOT_CHECK:-0}" = 1 ] ||
  skip "set TESSELLA_CHROOT_CHECK=1 to run it (minutes; root and the Debian mirror)"
[ "$(id -u)" -eq 0 ] || skip "needs root (debootstrap, chroot, mount)"
"$root/scripts/install-deps.sh" package >/dev/null
command -v debootstrap >/dev/null || skip "debootstrap is not installed"
mirror=$(apt-cache policy | awk '$3 ~ /^bookworm\/main$/ && $2 ~ /^https?:/ { print $2; exit }')
[ -n "$mirror" ] || skip "apt knows no Debian 12 mirror"

deb=$("$root/scripts/build-package.sh" | tail -1)
chroots=$root/build/chroot
base=$chroots/bookworm-base.tar
system=$chroots/system
mkdir -p "$chroots"

if [ ! -f "$base" ]; then
  echo "$name: making a Debian 12 base system with debootstrap (once)"
  rm -rf "$chroots/base"
  if ! debootstrap --variant=minbase bookworm "$chroots/base" "$mirror" >"$chroots/debootstrap.log" 2>&1; then
    tail -5 "$chroots/debootstrap.log"
    rm -rf "$chroots/base"
    skip "debootstrap could not make a system (no network to $mirror?)"
  fi
  tar -C "$chroots/base" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf "$chroots/base"
fi

xvfb_pid=
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  for mount in dev/pts dev sys proc; do
    umount -l "$system/$mount" 2>/dev/null || true
  done
}
trap cleanup EXIT

rm -rf "$system"
mkdir -p "$system"
tar -C "$system" -xf "$base"
mount -t proc proc "$system/proc"
mount -t sysfs sysfs "$system/sys"
mount --bind /dev "$system/dev"
mount --bind /dev/pts "$system/dev/pts"
cp /etc/resolv.conf "$system/etc/resolv.conf"
# Packages configure without starting services.
printf '#!/bin/sh\nexit 101\n' >"$system/usr/sbin/policy-rc.d"
chmod 755 "$system/usr/sbin/policy-rc.d"
in_system() { chroot "$system" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

echo "$name: apt-get install ./$(basename "$deb")"
cp "$deb" "$system/root/"
in_system apt-get update -qq
in_system sh -c 'cd /root && DEBIAN_FRONTEND=noninteractive apt-get install -y -q ./tessella_*.deb' \
  >"$chroots/install.log" 2>&1 || {
  tail -20 "$chroots/install.log"
  fail "the package does not install"
}
echo "$name: $(grep -c '^Setting up' "$chroots/install.log") packages set up; the triggers that ran:"
grep -E "^(Setting up tessella|Processing triggers)" "$chroots/install.log" | sed "s/^/$name:   /"
# What only the test needs: a display server and a way to read window titles.
in_system sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends xvfb xauth xdotool' \
  >"$chroots/tools.log" 2>&1 || fail "the test tools do not install"

version=$(in_system tessella --version)
echo "$name: tessella --version: $version"
[[ "$version" =~ ^Tessella\ [0-9.]+$ ]] || fail "--version printed '$version'"

maps=$system/root/maps
mkdir -p "$maps"
python3 "$root/tests/install/maps.py" make "$maps"
in_system sh -c 'cd /root/maps && tessella --convert map.csv map.tzp &&
  tessella --render map.tzp map.bmp && tessella --render map.tzp map.png' ||
  fail "converting or rendering with the installed program failed"
python3 "$root/tests/install/maps.py" check "$maps/map.bmp" || fail "the rendered picture is wrong"
head -c 8 "$maps/map.png" | grep -q PNG || fail "--render did not write a PNG file"
echo "$name: tessella --render of a map with a PNG parts image: right pixels"

# The editor under Xvfb. A free display number; the socket is shared with this system.
display=70
while [ -e "/tmp/.X$display-lock" ] || [ -e "$system/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
chroot "$system" env -i PATH=/usr/bin:/bin Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp \
  -noreset >"$chroots/xvfb.log" 2>&1 &
xvfb_pid=$!
mkdir -p -m 700 "$system/root/runtime"
desktop=(env DISPLAY=":$display" XDG_RUNTIME_DIR=/root/runtime)
sleep 2

# Waits for a window whose title matches $1, prints the title, closes the editor (Ctrl+Q)
# and waits until the process $2 (in this system) has ended.
window_title() {
  local id title
  id=$(in_system "${desktop[@]}" timeout 60 xdotool search --sync --onlyvisible --name "$1" |
    head -1) || true
  [ -n "$id" ] || return 1
  title=$(in_system "${desktop[@]}" xdotool getwindowname "$id")
  echo "$title"
  command -v import >/dev/null && import -display ":$display" -window root "$chroots/$3.png" 2>/dev/null || true
  in_system "${desktop[@]}" xdotool windowfocus --sync "$id" key ctrl+q
  for _ in $(seq 1 30); do
    kill -0 "$2" 2>/dev/null || return 0
    sleep 1
  done
  kill "$2" 2>/dev/null || true
  return 1
}

# Started from the menu with a Japanese locale: the shared language files are found.
in_system "${desktop[@]}" LANG=ja_JP.UTF-8 tessella >"$chroots/editor.log" 2>&1 &
editor=$!
title=$(window_title '^Tessella ' $editor editor) || fail "no editor window appeared or it did not close"
echo "$name: the editor's window: $title"
[[ "$title" == "Tessella 無題"* ]] || fail "the title is not the Japanese one: $title"
settings=$system/root/.config/Tessella/Tessella.ini
grep -q '^Language=japanese' "$settings" 2>/dev/null || fail "no Language=japanese in $settings"
[ ! -e "$system/usr/bin/Tessella.ini" ] || fail "the editor wrote its settings into /usr/bin"
echo "$name: settings kept in ~/.config/Tessella/Tessella.ini"

# A project file opened through the desktop: xdg-open finds the installed file type and
# desktop entry, which start the editor with the file.
filetype=$(in_system "${desktop[@]}" xdg-mime query filetype /root/maps/map.tzp)
default=$(in_system "${desktop[@]}" xdg-mime query default application/x-tzpfile)
echo "$name: xdg-mime: map.tzp is $filetype, opened by $default"
in_system "${desktop[@]}" xdg-open /root/maps/map.tzp >"$chroots/xdg-open.log" 2>&1 &
opener=$!
title=$(window_title 'map\.tzp' $opener xdg-open) || {
  cat "$chroots/xdg-open.log"
  fail "xdg-open did not open map.tzp in the editor"
}
echo "$name: xdg-open map.tzp: $title"
echo "$name: passed"
