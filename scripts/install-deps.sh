#!/usr/bin/env bash
# Installs the Debian 12 packages Tessella needs, by group:
#   editor   build and run the editor, its plug-ins and language files
#   tests    build and run the tests, benchmarks, fuzz and leak checks, try windows for real
#   package  build the Debian package and check it (lintian, AppStream, a chroot install)
# With no group named: all of them. Safe to run again: packages already present are left
# as they are.
set -euo pipefail

editor=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6svg6 qt6-svg-dev fonts-dejavu-core fonts-ipafont-gothic
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libuemf-dev
  libpugixml-dev libzstd-dev nlohmann-json3-dev qt6-translations-l10n
  shared-mime-info xdg-utils desktop-file-utils
)
tests=(
  qt6-l10n-tools libwmf-dev libwmf-bin
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev llvm-14 libc6-dev-i386
  valgrind binutils
  xvfb xauth xdotool imagemagick twm xfonts-base
  tiled python3 time
)
package=(
  dpkg-dev file librsvg2-bin gzip
  lintian appstream desktop-file-utils
  debootstrap python3
)

groups=("$@")
if [ ${#groups[@]} -eq 0 ]; then
  groups=(editor tests package)
fi
packages=()
for group in "${groups[@]}"; do
  case "$group" in
  editor) packages+=("${editor[@]}") ;;
  tests) packages+=("${tests[@]}") ;;
  package) packages+=("${package[@]}") ;;
  *)
    echo "install-deps: unknown group $group (editor, tests, package)" >&2
    exit 2
    ;;
  esac
done

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
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
