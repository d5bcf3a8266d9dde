#!/usr/bin/env bash
# Installs what is missing, builds with Ninja and runs every test (SQLite and a private
# PostgreSQL server), then the sanitizer build of the suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
build=${NELVO_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"
"$root/tools/with-postgres.sh" ctest --test-dir "$build" --output-on-failure
