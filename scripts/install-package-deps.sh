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
scripts/install-missing.sh "${packages[@]}"
