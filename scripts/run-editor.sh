#!/usr/bin/env bash
# Installs what is needed, builds, and starts the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -x "$root/build/Tessella" ]; then
  exec "$root/build/Tessella" "$@"
else
  echo "Built everything there is; the editor program build/Tessella is not part of the build yet."
fi
