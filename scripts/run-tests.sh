#!/usr/bin/env bash
# Installs what is needed, builds everything, and runs every test: the CTest suite, then
# the extra checks (fuzzing, leak checks, the Debian package) that live in scripts/checks/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure --parallel "$(nproc)"
shopt -s nullglob
for check in "$root"/scripts/checks/*.sh; do
  echo "== $(basename "$check")"
  bash "$check"
done
