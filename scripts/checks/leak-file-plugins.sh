#!/usr/bin/env bash
# Runs the tests of the plug-in interface and of the file plug-ins (tzp, gridcsv, tmx)
# under valgrind's leak checker: every import path, failed or cancelled, must free what it
# allocated, and every success must hand over exactly what the host frees. Fails on any
# leak or memory error.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
tests=(common_tests plugin_project_tests plugin_csv_tests plugin_tmx_tests)

if ! command -v valgrind >/dev/null; then
  echo "leak-file-plugins: valgrind is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
cmake --build "$build" --target "${tests[@]}" >/dev/null

for test in "${tests[@]}"; do
  log=$build/tests/$test.valgrind.log
  echo "leak-file-plugins: $test"
  if ! valgrind --leak-check=full --show-leak-kinds=definite,indirect,possible \
      --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=1 \
      --log-file="$log" "$build/tests/$test" --gtest_brief=1 >/dev/null; then
    echo "leak-file-plugins: $test leaks or misuses memory; see $log" >&2
    grep -E "ERROR SUMMARY|definitely|indirectly|possibly|Invalid|uninitialised" "$log" >&2 || true
    exit 1
  fi
  grep -E "ERROR SUMMARY" "$log"
done
echo "leak-file-plugins: clean"
