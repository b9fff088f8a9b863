#!/usr/bin/env bash
# Installs what the fuzz build needs on top of scripts/install-deps.sh: clang and its libFuzzer and sanitizer
# runtimes. Safe to run again. With --list, only prints them.
set -euo pipefail
packages=(clang libclang-rt-14-dev)
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
"$(dirname "$0")/install-missing.sh" "${packages[@]}"
