#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 30), starting from the seed corpus in fuzz/corpus (copied, so the repository's
# corpus is not changed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=${NELVO_FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for seeds in "$root"/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  mkdir -p "$work/$name"
  cp -r "$seeds". "$work/$name/"
  echo "fuzzing $name for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=0 "$build/fuzz_$name" -max_total_time="$seconds" \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$work/$name-" "$work/$name" 2>&1 \
    | tail -n 15
done
