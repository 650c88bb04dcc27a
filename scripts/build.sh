#!/usr/bin/env bash
# Configures and builds Tessella into ./build.
#   build.sh                      everything: program, plug-ins, tests, benchmarks
#   build.sh --editor [TARGET...] only the program with its plug-ins and language files
#                                 (and the targets named)
# A build folder first made with --editor leaves the tests and benchmarks out until a full
# build turns them on, so the editor builds without the test libraries installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
configure=(cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--editor" ]; then
  shift
  if [ ! -f build/CMakeCache.txt ]; then
    configure+=(-DTESSELLA_BUILD_TESTS=OFF -DTESSELLA_BUILD_BENCH=OFF)
  fi
  "${configure[@]}" >/dev/null
  cmake --build build --parallel "$(nproc)" --target Tessella "$@"
else
  "${configure[@]}" -DTESSELLA_BUILD_TESTS=ON -DTESSELLA_BUILD_BENCH=ON >/dev/null
  cmake --build build --parallel "$(nproc)"
fi
