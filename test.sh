#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
preset=${DRAVLET_PRESET:-ci}
./scripts/install-deps.sh
# The page first: the engine's tests on WebAssembly and the page in two browsers. The
# desktop's screen-reader test plays the page too. A sanitizer run skips the page's
# tests: they do not run the sanitized code.
cmake --preset web >/dev/null
cmake --build --preset web
if [[ "$preset" != asan ]]; then
  ctest --preset web -j2
fi
# The Windows program: the engine's tests under Wine; the real-display test plays the
# program itself.
cmake --preset windows >/dev/null
cmake --build --preset windows
if [[ "$preset" != asan ]]; then
  ctest --preset windows -j2
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
# Three at a time on two cores: the real-display and screen-reader tests mostly wait.
ctest --preset "$preset" -j3
