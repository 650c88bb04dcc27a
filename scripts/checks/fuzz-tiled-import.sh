#!/usr/bin/env bash
# Fuzzes the Tiled map import of the tmx plug-in (plugins/tmx: TMX/TSX and the JSON forms,
# layer data in CSV, base64, zlib, gzip and zstd) with libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer), starting from the seed corpus the plug-in tests write. Fails
# on any crash, sanitizer report, leak or hang; the failing input is kept in build/fuzz/.
#   FUZZ_SECONDS  run time (default 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
out=$build/fuzz
seconds=${FUZZ_SECONDS:-30}
mkdir -p "$out"

if ! command -v clang++-14 >/dev/null; then
  echo "fuzz-tiled-import: clang++-14 is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

# The seed corpus comes from the plug-in tests; write it if this runs on its own.
if [ ! -d "$out/corpus-tiled" ]; then
  cmake --build "$build" --target plugin_tmx_tests >/dev/null
  "$build/tests/plugin_tmx_tests" --gtest_filter='*WritesTheFuzzSeedCorpus*' >/dev/null
fi

sources=()
for f in "$root"/plugins/tmx/*.cpp; do
  [ "$(basename "$f")" = TmxPlugin.cpp ] || sources+=("$f")
done
echo "fuzz-tiled-import: building tiled_import_fuzzer"
clang++-14 -std=c++20 -O1 -g -fno-omit-frame-pointer -I"$root" \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  "$root/fuzz/tiled_import_fuzzer.cpp" "${sources[@]}" "$root"/common/platform/*.cpp \
  -lpugixml -lpng -lz -lzstd -o "$out/tiled_import_fuzzer"

work=$out/work-tiled
mkdir -p "$work"
echo "fuzz-tiled-import: running for ${seconds}s"
(cd "$out" && ./tiled_import_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix="$out/tiled_import_fuzzer-" \
  "$work" "$out/corpus-tiled" 2>"$out/tiled_import_fuzzer.log") || {
  echo "fuzz-tiled-import: failed; last lines of $out/tiled_import_fuzzer.log:" >&2
  tail -n 40 "$out/tiled_import_fuzzer.log" >&2
  exit 1
}
grep -E '^stat::number_of_executed_units' "$out/tiled_import_fuzzer.log" || true
echo "fuzz-tiled-import: clean"
