#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages Dravlet needs: `install-deps.sh run` what building and
# opening the window needs; `install-deps.sh` (or `test`) everything building, testing and
# packaging need, and the browser tests' node modules.
# Idempotent: when every package is already present it installs nothing and says so in one line.
set -euo pipefail

set_name=${1:-test}
run_packages=(
  # build
  g++ cmake ninja-build pkg-config
  # the window: Qt, the font it is laid out for, and Qt's plugin for Wayland desktops
  qt6-base-dev libgl-dev libxcb1-dev libfontconfig-dev fonts-liberation2 fontconfig qt6-wayland
)
test_packages=(
  # static checks, fuzzing (clang-tidy, libFuzzer) and the license check
  clang clang-tidy libclang-rt-14-dev reuse
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # tests against a real X server and a headless Wayland compositor
  xvfb xdotool xauth xclip x11-utils weston
  # start-up measurement: an X client of our own, a private session bus, strace
  libxcb-damage0-dev dbus-daemon strace
  # desktop integration, the Debian package, screen-reader tests (AT-SPI, and Orca with
  # its speech going to a log and a window manager giving the window the focus)
  desktop-file-utils appstream dpkg-dev file at-spi2-core python3 python3-pyatspi
  orca speech-dispatcher espeak-ng speech-dispatcher-espeak-ng openbox procps
  # a comma-decimal locale for the number-reading tests
  locales
  # the page: the engine in WebAssembly (Emscripten, whose optimiser needs acorn), GoogleTest's
  # source for the same tests under node, and the browsers its tests drive: WebKit through
  # its WebDriver servers, WPE's headless and WebKitGTK's MiniBrowser (on Xvfb)
  emscripten node-acorn googletest chromium firefox-esr wpewebkit-driver cog webkit2gtk-driver
  libwebkit2gtk-4.1-0
  # the Windows program: MinGW-w64's cross compiler, and Wine (with its own fonts, which it
  # only recommends) to run the program and its tests
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine
)
case $set_name in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}")
        # node comes with emscripten; npm from Debian only where node did not bring its own.
        command -v npm >/dev/null || packages+=(npm) ;;
  *) echo "install-deps: usage: install-deps.sh [run|test]" >&2; exit 2 ;;
esac

# The browser tests' driver, pinned by its lock file; installed again when the lock changes.
install_node_modules() {
  local web
  web="$(dirname "$0")/../tests/web"
  if [[ ! "$web/node_modules/.package-lock.json" -nt "$web/package-lock.json" ]]; then
    echo "install-deps: installing the browser tests' node modules (tests/web/package-lock.json)"
    (cd "$web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  fi
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "install-deps: not root and no sudo; install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  echo "install-deps: updating the package lists"
  "${sudo[@]}" apt-get update -q
  echo "install-deps: installing ${#missing[@]} packages and what they need: ${missing[*]}"
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
[[ $set_name == run ]] || install_node_modules
echo "install-deps: the packages for '$set_name' are installed"
