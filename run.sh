#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building and opening the window need, builds the optimised program (no
# tests, no benchmarks) and opens its window.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh run
echo "run: building the program"
cmake --preset run >/dev/null
cmake --build --preset run --target dravlet
exec ./build/run/window/dravlet
