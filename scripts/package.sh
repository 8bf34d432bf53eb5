#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package of the optimised program into build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target dravlet
cpack --config build/release/CPackConfig.cmake -B build/package
ls build/package/*.deb
