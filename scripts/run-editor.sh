#!/usr/bin/env bash
# Installs what the editor needs, builds only the editor with its plug-ins and language
# files (no tests, no benchmarks), and starts it with the arguments given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" editor
"$root/scripts/build.sh" --editor
exec "$root/build/Tessella" "$@"
