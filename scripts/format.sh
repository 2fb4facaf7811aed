#!/usr/bin/env bash
# Usage: format.sh [--check]
# Formats every tracked C++ file with clang-format and the repository's .clang-format. With
# --check, changes nothing and fails, listing the places, when any file is not formatted.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install_packages.sh" clang-format
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run --Werror "${files[@]}"
  echo "format.sh: ${#files[@]} files formatted as .clang-format asks"
else
  clang-format -i "${files[@]}"
fi
