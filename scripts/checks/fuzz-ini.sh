#!/usr/bin/env bash
# Fuzzes the INI reader and writer (settings and language files) for FUZZ_SECONDS (default 20) with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. Seeds are written here and
# include the shipped language files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/fuzz/out"

shell="$root/editor/shell"
clang++-14 -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" $(pkg-config --cflags Qt6Core) \
  "$root/fuzz/ini_fuzz.cpp" "$shell/settings/IniFile.cpp" "$root/editor/plugins/TextEncoding.cpp" \
  "$shell/language/LanguageCatalogue.cpp" "$shell/settings/Settings.cpp" "$root/common/RuntimeFolders.cpp" \
  $(pkg-config --libs Qt6Core) -o "$work/ini_fuzz"

mkdir -p "$work/corpus"
cp "$root"/languages/*.ini "$work/corpus/"
printf '[General]\r\nShowGrid=1\r\nGridColor=10789024\r\n; comment\r\n[Window]\r\nMainWinLeft=-5\r\n' \
  >"$work/corpus/settings.ini"
printf '\xEF\xBB\xBF[Strings]\nstr_0="quoted "\nstr_1=--\n[A\n=x\n[]\nk' >"$work/corpus/odd.ini"
printf '[Strings]\nstr_0=\x96\xb3\x91\xe8\n' >"$work/corpus/cp932.ini"

"$work/ini_fuzz" -max_total_time="${FUZZ_SECONDS:-20}" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=0 -artifact_prefix="$root/fuzz/out/$(basename "$0" .sh)-" "$work/corpus" 2>"$work/log" || {
  tail -50 "$work/log"
  echo "fuzz-ini: FAILED"
  exit 1
}
grep -E '^#[0-9]+ +DONE' "$work/log" || tail -3 "$work/log"
echo "fuzz-ini: passed"
