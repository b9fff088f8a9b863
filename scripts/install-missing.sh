#!/usr/bin/env bash
# Installs those of the named Debian packages that are not installed yet (apt-get update once, only when
# something is missing). Used by the install-*deps.sh scripts.
set -euo pipefail
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
fi
