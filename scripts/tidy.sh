#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# clang-tidy over the program's own sources, with the checks in .clang-tidy; any finding
# fails. runtime/, engine/ and window/ with the compile commands of a configured build
# (default: the ci preset); web/page.cpp with the web build's, read as Emscripten's
# WebAssembly target; win32/ with the windows build's, with MinGW-w64's C++ headers (clang
# finds its Windows headers itself; GCC's own intrinsics headers it cannot read).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
for b in "$build" build/web build/windows; do
  [[ -f "$b/compile_commands.json" ]] || { echo "tidy: configure $b first" >&2; exit 1; }
done
sysroot=/usr/share/emscripten/cache/sysroot/include
web=(--extra-arg=--target=wasm32-unknown-emscripten "--extra-arg=-isystem$sysroot/c++/v1" "--extra-arg=-isystem$sysroot")
mapfile -t windows < <(echo | x86_64-w64-mingw32-g++-posix -std=c++20 -E -x c++ - -v 2>&1 |
  sed -n '/#include <...> search starts here:/,/End of search list./p' | grep '^ .*/c++' | sed 's/^ */--extra-arg=-isystem/')
mapfile -t sources < <(git ls-files 'runtime/*.cpp' 'engine/*.cpp' 'window/*.cpp')
mapfile -t win32 < <(git ls-files 'win32/*.cpp')
status=0
{
  printf '%s\n' "${sources[@]}" | xargs -P 2 -n 2 clang-tidy -p "$build" --quiet || status=$?
  clang-tidy -p build/web --quiet "${web[@]}" web/page.cpp || status=$?
  printf '%s\n' "${win32[@]}" | xargs -P 2 -n 2 clang-tidy -p build/windows --quiet "${windows[@]}" || status=$?
} >build/tidy.log 2>&1
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' build/tidy.log || true
if [[ $status -eq 0 ]]; then
  echo "tidy: $((${#sources[@]} + 1 + ${#win32[@]})) files clean"
fi
exit "$status"
