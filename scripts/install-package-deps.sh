#!/usr/bin/env bash
# Installs the Debian packages that building and checking the .deb needs, on top of install-deps.sh.
# Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
packages=(
  dpkg-dev fakeroot file
  lintian desktop-file-utils appstream
  util-linux xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
fi
