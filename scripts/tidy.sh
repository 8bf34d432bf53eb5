#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# clang-tidy over the program's own sources, with the checks in .clang-tidy; any finding
# fails. Uses the compile commands of a configured build (default: the ci preset).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
[[ -f "$build/compile_commands.json" ]] || { echo "tidy: configure $build first" >&2; exit 1; }
mapfile -t sources < <(git ls-files 'runtime/*.cpp' 'engine/*.cpp' 'window/*.cpp')
status=0
printf '%s\n' "${sources[@]}" | xargs -P 2 -n 2 clang-tidy -p "$build" --quiet >build/tidy.log 2>&1 || status=$?
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' build/tidy.log || true
if [[ $status -eq 0 ]]; then
  echo "tidy: ${#sources[@]} files clean"
fi
exit "$status"
