#!/usr/bin/env bash
# Fuzzes the readers of /proc/meminfo and of the MIME database's globs files for FUZZ_SECONDS
# (default 20) with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. Seeds are written
# here.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/fuzz/out"

clang++-14 -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" $(pkg-config --cflags Qt6Core Qt6Gui) \
  "$root/fuzz/about_texts_fuzz.cpp" "$root/common/platform/MemoryStatus.cpp" \
  "$root/editor/shell/dialogs/FileAssociations.cpp" "$root/editor/shell/settings/IniFile.cpp" \
  "$root/editor/plugins/TextEncoding.cpp" \
  $(pkg-config --libs Qt6Core Qt6Gui) -o "$work/about_texts_fuzz"

mkdir -p "$work/corpus"
printf 'MemTotal:       16000000 kB\nMemFree:         1000000 kB\nMemAvailable:    4000000 kB\n' \
  >"$work/corpus/meminfo"
printf 'MemTotal: 1000 kB\nMemFree: 99999999999999999999 kB\nBuffers: 18446744073709551615 kB\n' \
  >"$work/corpus/huge"
printf '# comment\n50:text/plain:*.txt\n80:application/x-tzpfile:*.tzp:cs\n::\n' \
  >"$work/corpus/globs2"

"$work/about_texts_fuzz" -max_total_time="${FUZZ_SECONDS:-20}" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=0 -artifact_prefix="$root/fuzz/out/$(basename "$0" .sh)-" "$work/corpus" 2>"$work/log" || {
  tail -50 "$work/log"
  echo "fuzz-about-texts: FAILED"
  exit 1
}
grep -E '^#[0-9]+ +DONE' "$work/log" || tail -3 "$work/log"
echo "fuzz-about-texts: passed"
