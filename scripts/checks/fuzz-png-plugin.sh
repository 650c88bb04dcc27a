#!/usr/bin/env bash
# Fuzzes the PNG image plug-in (plugins/png) with libFuzzer for FUZZ_SECONDS (default 30), starting
# from a seed corpus of every kind of PNG the tests write. Fails on any crash, leak or
# sanitizer report; the failing input is kept in fuzz/out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/fuzz/out"

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
clang-14 -g -O1 -std=c11 -fsanitize=fuzzer-no-link $sanitizers -I"$root" \
  -c "$root/plugins/png/PngPlugin.c" -o "$work/PngPlugin.o"
clang++-14 -g -O1 -std=c++20 -fsanitize=fuzzer $sanitizers -I"$root" \
  "$root/fuzz/png_plugin_fuzzer.cpp" "$work/PngPlugin.o" -lpng -o "$work/png_plugin_fuzzer"
clang++-14 -O1 -std=c++20 -I"$root" "$root/fuzz/png_seed_corpus.cpp" \
  "$root/tests/plugin-png/PngTestImages.cpp" -lpng -o "$work/png_seed_corpus"
"$work/png_seed_corpus" "$work/corpus"

"$work/png_plugin_fuzzer" -max_total_time="${FUZZ_SECONDS:-30}" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$root/fuzz/out/png-" -print_final_stats=1 "$work/corpus" 2>"$work/log" || {
  tail -n 60 "$work/log"
  echo "fuzz-png-plugin: FAILED (input kept in fuzz/out/)"
  exit 1
}
grep -E "^(stat::number_of_executed_units|Done)" "$work/log" || true
echo "fuzz-png-plugin: no crash"
