#!/usr/bin/env bash
# Installs what is missing, builds with Ninja and starts the shell with the area module open
# on the embedded SQLite demo database (created in the user's data folder on first run).
# Further arguments go to nelvo-shell, e.g. --database postgresql://... or --demo.
#
#   tools/run.sh --screenshot   takes a picture of the running shell under Xvfb, on a fresh
#                               demo database, into docs/shell.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
build=${NELVO_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target nelvo-shell
shell=$build/bin/nelvo-shell

if [ "${1:-}" = "--screenshot" ]; then
  shift
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  xvfb-run -a -s "-screen 0 1280x800x24" \
    "$shell" --open --database "$scratch/demo.sqlite" --demo \
    --screenshot "$root/docs/shell.png" "$@"
  echo "wrote $root/docs/shell.png"
else
  exec "$shell" --open "$@"
fi
