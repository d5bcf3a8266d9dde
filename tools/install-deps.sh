#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, test and run, if any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev libsqlite3-dev libpq-dev postgresql
          fonts-wqy-zenhei xvfb xauth clang libclang-rt-14-dev qt6-translations-l10n
          dpkg-dev file lintian desktop-file-utils appstream man-db)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
fi
