#!/usr/bin/env bash
# Installs what is missing, builds with Ninja and runs every test against SQLite and a
# private PostgreSQL server; then the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer (leaks checked); then each fuzzer for a bounded time.
# After the first run, the Debian packages are built, installed and tested from their
# installed paths (tools/package-test.sh).
# NELVO_QUICK=1 skips the package test, the sanitizer build and the fuzzers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
build=${NELVO_BUILD_DIR:-$root/build}
jobs=$(nproc)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
"$root/tools/with-postgres.sh" ctest --test-dir "$build" --output-on-failure -j "$jobs"

[ "${NELVO_QUICK:-0}" = 1 ] && exit 0

"$root/tools/package-test.sh"

asan=$build-sanitize
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNELVO_SANITIZE=ON \
  -DNELVO_BUILD_BENCH=OFF
cmake --build "$asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$root/tools/with-postgres.sh" ctest --test-dir "$asan" --output-on-failure -j "$jobs" \
  -LE no-sanitize

"$root/tools/fuzz.sh" "${NELVO_FUZZ_SECONDS:-30}"
