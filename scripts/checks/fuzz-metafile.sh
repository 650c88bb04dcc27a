#!/usr/bin/env bash
# Fuzzes the parts images' metafile reader (EMF and WMF through libuemf, played with
# QPainter) with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer for
# FUZZ_SECONDS (default 30), from the seed corpus the parts tests write. Fails on any
# crash, sanitizer report, leak or hang; the failing input is kept in fuzz/out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
corpus=$build/fuzz/corpus-metafile
seconds=${FUZZ_SECONDS:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/fuzz/out"

if [ ! -d "$corpus" ]; then
  cmake --build "$build" --target parts_test >/dev/null
  QT_QPA_PLATFORM=offscreen "$build/tests/parts_test" \
    --gtest_filter='*WritesTheFuzzSeedCorpus*' >/dev/null
fi

parts="$root/editor/parts"
clang++-14 -std=c++20 -O1 -g -fPIC -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" $(pkg-config --cflags Qt6Gui) \
  "$root/fuzz/metafile_fuzzer.cpp" "$parts/MetafileDecoder.cpp" "$parts/EmfPlayback.cpp" \
  "$parts/WmfPlayback.cpp" "$parts/GdiPlayer.cpp" "$parts/MetafileDib.cpp" \
  "$root/editor/render/PixelBuffer.cpp" \
  $(pkg-config --libs Qt6Gui) -luemf -o "$work/metafile_fuzzer"

# Fontconfig keeps what it reads of a font family it is first asked for for the whole run.
printf 'leak:libfontconfig.so\n' >"$work/leaks.supp"
mkdir -p "$work/run"
LSAN_OPTIONS="suppressions=$work/leaks.supp:print_suppressions=0" "$work/metafile_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$root/fuzz/out/metafile-" \
  "$work/run" "$corpus" 2>"$work/log" || {
  tail -n 60 "$work/log"
  echo "fuzz-metafile: FAILED (input kept in fuzz/out/)"
  exit 1
}
grep -E '^stat::number_of_executed_units' "$work/log" || true
echo "fuzz-metafile: no crash"
