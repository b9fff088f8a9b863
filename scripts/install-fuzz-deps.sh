#!/usr/bin/env bash
# Installs what the fuzz build needs on top of scripts/install-deps.sh: clang and its libFuzzer and sanitizer
# runtimes. Safe to run again.
set -euo pipefail
packages=(clang libclang-rt-14-dev)
"$(dirname "$0")/install-missing.sh" "${packages[@]}"
