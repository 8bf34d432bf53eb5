#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The downloads in dist/ and their checksums, from this source:
#   scripts/dist.sh          builds the page, its SCORM package and Dravlet.exe, copies them
#                            to dist/ and writes dist/SHA256SUMS (then commit dist/);
#   scripts/dist.sh --check  fails, saying what to do, where dist/ is not what this source
#                            builds or SHA256SUMS does not match the files (CI runs this).
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
[[ ${1:-} == --check ]] && check=true
cmake --preset web >/dev/null
cmake --build --preset web >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target dravlet >/dev/null
built=(build/web/dravlet.html build/web/dravlet-scorm.zip build/windows/win32/Dravlet.exe)
sums=$( (cd build/web && sha256sum dravlet.html dravlet-scorm.zip) && (cd build/windows/win32 && sha256sum Dravlet.exe) )
if ! $check; then
  cp "${built[@]}" dist/
  printf '%s\n' "$sums" >dist/SHA256SUMS
  echo "dist: $(ls dist | tr '\n' ' ')written; commit them"
  exit 0
fi
for file in "${built[@]}"; do
  if ! cmp -s "$file" "dist/$(basename "$file")"; then
    echo "dist/$(basename "$file") is not what this source builds: run scripts/dist.sh and commit dist/" >&2
    exit 1
  fi
done
if [[ "$(cat dist/SHA256SUMS 2>/dev/null)" != "$sums" ]] || ! (cd dist && sha256sum --quiet -c SHA256SUMS); then
  echo "dist/SHA256SUMS does not list the checksums of the three downloads: run scripts/dist.sh and commit dist/" >&2
  exit 1
fi
echo "dist: the three downloads are what this source builds, and SHA256SUMS matches them"
