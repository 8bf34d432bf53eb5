#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
preset=${DRAVLET_PRESET:-ci}
./scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
# Three at a time on two cores: the real-display and screen-reader tests mostly wait.
ctest --preset "$preset" -j3
