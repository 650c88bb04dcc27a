#!/usr/bin/env bash
# Fuzzes the reader of the side record kept beside each recovery copy for FUZZ_SECONDS
# (default 20) with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. Seeds are
# written here.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/fuzz/out"

clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" "$root/fuzz/recovery_record_fuzz.cpp" "$root/editor/plugins/RecoveryRecord.cpp" \
  "$root/common/platform/InputFile.cpp" "$root/common/platform/ReplacingFile.cpp" \
  "$root/common/platform/BackgroundClose.cpp" -lpthread -o "$work/recovery_record_fuzz"

mkdir -p "$work/corpus"
printf 'Tessella recovery 1\nname=level.tzp\npath=/home/me/maps/level.tzp\nplugin=tzp.so\nfilter=1\npathmode=1\nend\n' \
  >"$work/corpus/saved"
printf 'Tessella recovery 1\nname=Untitled\npath=\nplugin=\nfilter=0\npathmode=0\nend\n' >"$work/corpus/new"
printf 'Tessella recovery 1\nname=a\\\\b\\nc\nfuture=x\nend\n' >"$work/corpus/escapes"

"$work/recovery_record_fuzz" -max_total_time="${FUZZ_SECONDS:-20}" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=0 \
  -artifact_prefix="$root/fuzz/out/$(basename "$0" .sh)-" "$work/corpus" 2>"$work/log" || {
  tail -50 "$work/log"
  echo "fuzz-recovery-record: FAILED"
  exit 1
}
grep -E '^#[0-9]+ +DONE' "$work/log" || tail -3 "$work/log"
echo "fuzz-recovery-record: passed"
