#!/usr/bin/env bash
# Builds the Debian package build/package/tessella_<version>_amd64.deb: installs what
# building and checking it needs, builds the program, its plug-ins, language files, icons
# and manual page in ./build (nothing else), and has CPack package what `cmake --install`
# lays out, with the dependencies dpkg-shlibdeps finds in the program and plug-ins.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" editor package
if grep -qs '^TESSELLA_SANITIZE:BOOL=ON' "$root/build/CMakeCache.txt"; then
  echo "build-package: build/ is configured with sanitizers; package a plain build" >&2
  exit 1
fi
"$root/scripts/build.sh" --editor tessella_install_files
rm -f "$root"/build/package/tessella_*.deb
(cd "$root/build" && cpack -G DEB >/dev/null)
ls "$root"/build/package/tessella_*.deb
