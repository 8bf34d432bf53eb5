#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a configured build folder, checks its control fields,
# unpacks it into a temporary root and starts the unpacked program there.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
check "version is 1.00" test "$(dpkg-deb -f "$deb" Version)" = "1.00"
check "depends on the Qt widgets library" grep -q 'libqt6widgets6' <<<"$depends"
check "depends on the C++ runtime" grep -q 'libstdc++6' <<<"$depends"
check "depends on the font" grep -q "fonts-liberation2" <<<"$depends"
check "depends on the platform plugins" grep -q "qt6-qpa-plugins" <<<"$depends"
check "recommends the Wayland plugin" test "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/dravlet usr/share/applications/org.dravlet.Dravlet.desktop usr/share/doc/dravlet/copyright \
         usr/share/metainfo/org.dravlet.Dravlet.metainfo.xml \
         usr/share/icons/hicolor/16x16/apps/org.dravlet.Dravlet.png \
         usr/share/icons/hicolor/scalable/apps/org.dravlet.Dravlet.svg; do
  check "installs $f" test -s "$root/$f"
done
check "desktop entry validates" desktop-file-validate "$root/usr/share/applications/org.dravlet.Dravlet.desktop"
check "metainfo validates" appstreamcli validate --no-net --no-color \
  "$root/usr/share/metainfo/org.dravlet.Dravlet.metainfo.xml"

# The unpacked program opens its window (offscreen) and keeps it open.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/dravlet" 2>"$work/stderr" &
pid=$!
sleep 2
if kill -0 "$pid" 2>/dev/null; then
  passed=$((passed + 1)); kill "$pid"; wait "$pid" 2>/dev/null || true
else
  echo "FAILED: the unpacked program did not stay open"; cat "$work/stderr"; failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
