#!/usr/bin/env bash
# Installs everything .ci/run needs in one go (one apt-get update, one apt-get install): the packages of
# install-test-deps.sh, install-package-deps.sh and install-fuzz-deps.sh. The stages then find nothing missing.
set -euo pipefail
dir="$(dirname "$0")"
mapfile -t packages < <("$dir/install-test-deps.sh" --list; "$dir/install-package-deps.sh" --list;
                         "$dir/install-fuzz-deps.sh" --list)
"$dir/install-missing.sh" "${packages[@]}"
