#!/usr/bin/env bash
# Measures the CPU time that the real program uses while idle under Wine (default 30 s), in per
# cent of one core, for the program's process and for the prefix's wineserver. Not a test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO"

install_all_packages
choose_route_and_build
announce_wine_route
build_windows
/usr/bin/python3 scripts/ambrisk_wine.py idle-cpu "${1:-30}"
