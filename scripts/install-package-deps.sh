#!/usr/bin/env bash
# Installs the Debian packages that building and checking the .deb needs, on top of install-deps.sh.
# Safe to run again. With --list, only prints them (without those of install-deps.sh).
set -euo pipefail
dir="$(dirname "$0")"
packages=(
  dpkg-dev fakeroot file
  lintian desktop-file-utils appstream
  util-linux xvfb xauth
)
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
"$dir/install-deps.sh"
"$dir/install-missing.sh" "${packages[@]}"
