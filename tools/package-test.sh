#!/usr/bin/env bash
# Builds the Debian packages (tools/package.sh, validators included), installs them for
# real, and checks the installed system from its installed paths only, with a fresh HOME and
# a clean environment:
#   - both programs print the package version;
#   - nelvo-shell creates the embedded database on first start and opens the area window
#     from the module it finds by default (its start-up queries reach the database);
#   - nelvo-admin exports the demo's mappings; both manual pages render without warnings;
#   - no installed file holds a path of the source or build folder;
#   - a shell built outside the tree against nelvo-dev alone loads the installed module;
# then removes the packages again. Needs root (or sudo) for apt-get.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NELVO_PACKAGE_BUILD_DIR:-$root/build-package}
export NELVO_PACKAGE_BUILD_DIR=$build
"$root/tools/package.sh"
build=$(cd "$build" && pwd)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -o DPkg::Lock::Timeout=120)

scratch=$(mktemp -d /tmp/nelvo-package-test.XXXXXX)
chmod 755 "$scratch"
cleanup() {
  "${apt[@]}" purge nelvo nelvo-dev >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "package test: $*" >&2
  exit 1
}

# Runs a command as a new user would: fresh HOME, no variables from this shell or the build.
fresh() {
  env -i HOME="$scratch/home" PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$scratch/run" QT_QPA_PLATFORM=offscreen "$@"
}
mkdir -p "$scratch/home" "$scratch/run"
chmod 700 "$scratch/run"

version=$(dpkg-deb --field "$build"/nelvo_*.deb Version)
"${apt[@]}" install "$build/nelvo_${version}_"*.deb "$build/nelvo-dev_${version}_"*.deb

for program in nelvo-shell nelvo-admin; do
  [ "$(fresh sh -c "command -v $program")" = "/usr/bin/$program" ] ||
    fail "$program is not in /usr/bin"
  [ "$(fresh $program --version)" = "$program $version" ] || fail "$program --version"
done

fresh nelvo-shell --operator 0001 --open --sql-trace "$scratch/trace.sql" \
  --screenshot "$scratch/shell.png"
[ -s "$scratch/home/.local/share/nelvo/nelvo-shell/demo.sqlite" ] ||
  fail "nelvo-shell did not create the embedded database"
grep -q "Select \* from tbQyda order by f_qybm" "$scratch/trace.sql" ||
  fail "the area window did not load its areas"
file "$scratch/shell.png" | grep -q "PNG image data" || fail "no picture of the window"

fresh nelvo-admin export mappings - >"$scratch/mappings.csv"
[ "$(head -n 1 "$scratch/mappings.csv" | tr -d '\r')" = "f_qylx,f_qybm,f_ccqybm" ] ||
  fail "the mappings export has no header"
rows=$(tail -n +2 "$scratch/mappings.csv" | tr -d '\r' | grep -cE '^(PICK|PUT|MPICK),[APM][0-9]{2},S[0-9]{3}$' || true)
[ "$rows" -eq "$(($(wc -l <"$scratch/mappings.csv") - 1))" ] && [ "$rows" -gt 0 ] ||
  fail "the mappings export is not the demo's mappings"

for page in nelvo-shell nelvo-admin; do
  warnings=$(fresh man --warnings "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
  fresh env MANWIDTH=80 man "$page" | grep -q "^NAME" || fail "man $page renders nothing"
done

# Nothing installed may point back at this machine's source or build folders.
while read -r path; do
  [ -f "$path" ] || continue
  if zgrep -q -F -e "$root" -e "$build" "$path" 2>/dev/null ||
     grep -q -F -e "$root" -e "$build" "$path"; then
    fail "$path holds a path of the source or build folder"
  fi
done < <(dpkg -L nelvo nelvo-dev)

# A shell of its own, from a copy of its project outside the tree, with nelvo-dev only.
cp -r "$root/tests/installed-shell" "$scratch/installed-shell"
fresh cmake -S "$scratch/installed-shell" -B "$scratch/installed-shell-build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fresh cmake --build "$scratch/installed-shell-build"
fresh "$scratch/installed-shell-build/installed_shell_test"

"${apt[@]}" purge nelvo nelvo-dev
! dpkg-query -W -f='${Status}' nelvo 2>/dev/null | grep -q 'install ok installed' ||
  fail "nelvo is still installed"
[ ! -e /usr/bin/nelvo-shell ] || fail "/usr/bin/nelvo-shell is left after removal"
echo "package test passed ($version)"
