#!/usr/bin/env bash
# Builds the file plug-in fuzz targets (clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a short while from the seed corpora the
# plug-in tests write. Fails on any crash, sanitizer report, leak or hang.
#   FUZZ_SECONDS  run time of each target (default 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
out=$build/fuzz
seconds=${FUZZ_SECONDS:-30}
mkdir -p "$out"

if ! command -v clang++-14 >/dev/null; then
  echo "fuzz-file-plugins: clang++-14 is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

# The seed corpora come from the plug-in tests; write them if this runs on its own.
if [ ! -d "$out/corpus-tzp" ] || [ ! -d "$out/corpus-csv" ] || [ ! -d "$out/corpus-bmp" ] ||
  [ ! -d "$out/corpus-imagesize" ]; then
  cmake --build "$build" --target plugin_project_tests plugin_csv_tests plugin_tmx_tests >/dev/null
  "$build/tests/plugin_project_tests" --gtest_filter='*WritesTheFuzzSeedCorpus*' >/dev/null
  "$build/tests/plugin_csv_tests" --gtest_filter='*WritesTheFuzzSeedCorpus*' >/dev/null
  "$build/tests/plugin_tmx_tests" --gtest_filter='*WritesTheFuzzSeedCorpus*' >/dev/null
fi

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -I"$root"
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
platform=("$root"/common/platform/*.cpp)
project=()
for f in "$root"/plugins/project/*.cpp; do
  [ "$(basename "$f")" = ProjectPlugin.cpp ] || project+=("$f")
done
csv=()
for f in "$root"/plugins/csv/*.cpp; do
  [ "$(basename "$f")" = CsvPlugin.cpp ] || csv+=("$f")
done

build_target() { # name sources...
  local name=$1
  shift
  echo "fuzz-file-plugins: building $name"
  clang++-14 "${flags[@]}" "$root/fuzz/$name.cpp" "$@" -o "$out/$name"
}
build_target tzp_import_fuzzer "${project[@]}" "${platform[@]}"
build_target csv_import_fuzzer "${csv[@]}" "${platform[@]}"
build_target bmp_width_fuzzer "$root/plugins/project/BmpWidth.cpp" "${platform[@]}"
build_target tmx_image_size_fuzzer "$root/plugins/tmx/ImageSize.cpp" "${platform[@]}"

run_target() { # name seed-folder
  local name=$1 seeds=$2
  local work=$out/work-${name%_fuzzer}
  mkdir -p "$work"
  echo "fuzz-file-plugins: running $name for ${seconds}s"
  (cd "$out" && "./$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$out/$name-" \
    "$work" "$seeds" 2>"$out/$name.log") || {
    echo "fuzz-file-plugins: $name failed; last lines of $out/$name.log:" >&2
    tail -n 40 "$out/$name.log" >&2
    return 1
  }
  grep -E '^stat::number_of_executed_units' "$out/$name.log" || true
}
run_target tzp_import_fuzzer "$out/corpus-tzp"
run_target csv_import_fuzzer "$out/corpus-csv"
run_target bmp_width_fuzzer "$out/corpus-bmp"
run_target tmx_image_size_fuzzer "$out/corpus-imagesize"
echo "fuzz-file-plugins: clean"
