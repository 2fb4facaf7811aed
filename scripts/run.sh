#!/usr/bin/env bash
# Builds Zhavik and runs it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/build/zhavik-lookup" "${@:-好}"
