#!/usr/bin/env bash
# Builds the Debian packages nelvo and nelvo-dev in a build folder of their own (configured
# for /usr, with Debian's hardening build flags, without tests and benchmarks) and checks
# the desktop entry, the AppStream metadata and the packages with their validators
# (desktop-file-validate, appstreamcli, lintian); any error fails the run.
#
#   tools/package.sh     writes build-package/nelvo_<version>_<arch>.deb and nelvo-dev_...
#                        (NELVO_PACKAGE_BUILD_DIR chooses another folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
build=${NELVO_PACKAGE_BUILD_DIR:-$root/build-package}
mkdir -p "$build"
build=$(cd "$build" && pwd)
cd "$root"

# Debian's flags, as debhelper passes them to CMake; the prefix maps keep the source and
# build folders out of the binaries.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
prefix_maps="-ffile-prefix-map=$root=. -ffile-prefix-map=$build=."
export CFLAGS="$CFLAGS $CPPFLAGS $prefix_maps" CXXFLAGS="$CXXFLAGS $CPPFLAGS $prefix_maps"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DNELVO_BUILD_TESTS=OFF -DNELVO_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
desktop-file-validate "$root/packaging/org.nelvo.Shell.desktop"
appstreamcli validate --no-net "$build/packaging/org.nelvo.Shell.metainfo.xml"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)

debs=("$build"/*.deb)
for deb in "${debs[@]}"; do
  echo "== $(basename "$deb")"
  dpkg-deb --field "$deb" Package Version Depends
done
lintian --fail-on error --tag-display-limit 0 "${debs[@]}"
echo "packages in $build"
