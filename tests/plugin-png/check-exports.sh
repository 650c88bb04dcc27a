#!/bin/sh
# The PNG plug-in exports its four entry points and nothing else.
set -eu
exports=$(nm -D --defined-only "$1" | awk '{print $3}' | sort | tr '\n' ' ')
expected="GetPicture GetPictureInfo GetPluginInfo IsSupported "
if [ "$exports" != "$expected" ]; then
  echo "png.spi exports: $exports"
  echo "expected:        $expected"
  exit 1
fi
