#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up and memory of Dravlet against the floor of any Qt Widgets program (one empty
# window of the same size), measured side by side in one run:
#   - a private Xvfb (-noreset) and a private session D-Bus, like a desktop session;
#   - 3 warm-up rounds, then ROUNDS rounds (default 31), the two programs interleaved in
#     rotating order;
#   - per start: exec -> window mapped, exec -> end of first paint (MapNotify and DAMAGE,
#     watched by our own X client), peak resident memory (VmHWM), shared libraries;
#   - once per program, under strace: child processes started.
# Prints medians, minima and the ratios Dravlet / floor.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${ROUNDS:-31}
warmups=3

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target startup_bench >/dev/null
bin=build/release
dravlet=${DRAVLET_BIN:-$bin/window/dravlet}
floor=$bin/bench/dravlet_startup_floor
xwatch=$bin/bench/dravlet_xwatch

work=$(mktemp -d)
cleanup() {
  [[ -n "${bus_pid:-}" ]] && kill "$bus_pid" 2>/dev/null
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
xvfb_pid=$!
read -r -t 10 number <&3
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
read -r DBUS_SESSION_BUS_ADDRESS bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd' ')
export DBUS_SESSION_BUS_ADDRESS

measure() {  # name program
  "$xwatch" 438 408 "$2" >>"$work/$1" 2>>"$work/errors"
}

for ((r = 0; r < warmups + rounds; r++)); do
  if ((r < warmups)); then
    "$xwatch" 438 408 "$dravlet" >/dev/null 2>&1 || true
    "$xwatch" 438 408 "$floor" >/dev/null 2>&1 || true
  elif ((r % 2 == 0)); then
    measure dravlet "$dravlet"; measure floor "$floor"
  else
    measure floor "$floor"; measure dravlet "$dravlet"
  fi
done

children() {  # program: processes it starts while it opens its window
  timeout -s TERM 3 strace -f -qq -e trace=clone,clone3,fork,vfork -o "$work/strace" "$1" >/dev/null 2>&1 || true
  grep -E 'clone3?\(|fork\(' "$work/strace" | grep -v -c 'CLONE_THREAD' || true
}

stats() {  # file column -> "median min"
  cut -d' ' -f"$2" "$1" | sort -g | awk '{v[NR]=$1} END {m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "%s %s", m, v[1]}'
}

printf '%-22s %12s %12s %12s %12s %10s\n' "" "Dravlet med" "Dravlet min" "floor med" "floor min" "ratio med"
for row in "exec->mapped ms:1" "exec->painted ms:2" "VmHWM kB:3" "shared libraries:4"; do
  label=${row%%:*}; col=${row##*:}
  read -r dmed dmin <<<"$(stats "$work/dravlet" "$col")"
  read -r fmed fmin <<<"$(stats "$work/floor" "$col")"
  printf '%-22s %12s %12s %12s %12s %10s\n' "$label" "$dmed" "$dmin" "$fmed" "$fmin" \
    "$(awk -v a="$dmed" -v b="$fmed" 'BEGIN {printf "%.3f", a / b}')"
done
printf '%-22s %12s %12s %12s %12s\n' "child processes" "$(children "$dravlet")" "" "$(children "$floor")" ""
echo "rounds: $rounds (after $warmups warm-up), samples: $(wc -l <"$work/dravlet") Dravlet, $(wc -l <"$work/floor") floor"
[[ -s "$work/errors" ]] && { echo "errors:"; sort "$work/errors" | uniq -c; }
exit 0
