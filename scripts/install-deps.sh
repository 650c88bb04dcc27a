#!/usr/bin/env bash
# Installs every Debian 12 package Tessella needs to build, test and run.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6svg6 qt6-svg-dev qt6-l10n-tools fonts-dejavu-core fonts-ipafont-gothic
  libjpeg62-turbo-dev libpng-dev
  libpugixml-dev zlib1g-dev libzstd-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev llvm-14 libc6-dev-i386
  valgrind binutils
  xvfb xauth xdotool imagemagick twm xfonts-base
  shared-mime-info xdg-utils desktop-file-utils
  tiled python3 time
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed."
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
