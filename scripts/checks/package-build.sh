#!/usr/bin/env bash
# Builds the Debian package (scripts/build-package.sh) and checks it with the ecosystem's
# own tools: desktop-file-validate on the desktop entry, appstreamcli on the AppStream data
# (without the network: the screenshot is on the project's web site) and lintian on the
# package. Fails on any error they report; their warnings are shown.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

deb=$("$root/scripts/build-package.sh" | tail -1)
echo "package-build: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -f "$deb" Depends Recommends Suggests | sed 's/^/package-build: /'
dpkg-deb -x "$deb" "$work/root"

status=0
for entry in "$work"/root/usr/share/applications/*.desktop; do
  echo "package-build: desktop-file-validate $(basename "$entry")"
  desktop-file-validate "$entry" || status=1
done
for data in "$work"/root/usr/share/metainfo/*.xml; do
  echo "package-build: appstreamcli validate $(basename "$data")"
  appstreamcli validate --no-net --explain "$data" || status=1
done
echo "package-build: lintian"
lintian --fail-on error --display-info "$deb" || status=1
if [ $status -ne 0 ]; then
  echo "package-build: FAILED"
  exit 1
fi
echo "package-build: passed"
