#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Dravlet need.
# Idempotent: when every package is already present it does nothing and prints nothing.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  # static checks and fuzzing (clang-tidy, libFuzzer)
  clang clang-tidy libclang-rt-14-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # the window
  qt6-base-dev libgl-dev libxcb1-dev libfontconfig-dev fonts-liberation2 fontconfig
  # the window natively on Wayland
  qt6-wayland
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
# node comes with emscripten; npm from Debian only where node did not bring its own.
command -v npm >/dev/null || packages+=(npm)

# The browser tests' driver, pinned by its lock file; installed again when the lock changes.
install_node_modules() {
  local web
  web="$(dirname "$0")/../tests/web"
  if [[ ! "$web/node_modules/.package-lock.json" -nt "$web/package-lock.json" ]]; then
    (cd "$web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error >/dev/null)
  fi
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  install_node_modules
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "install-deps: not root and no sudo; install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
install_node_modules
