#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Plays one right and one wrong answer in the real program under a private Xvfb, with
# real key presses and mouse clicks, and saves a screenshot of each state to
# build/demo/. The right answer is worked out from the problem text, copied out of the
# window the way a learner would copy it (click, Ctrl+A, Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target dravlet dravlet_xtool >/dev/null

out=build/demo
mkdir -p "$out"
program=build/release/window/dravlet
xtool=build/release/tests/dravlet_xtool

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
xvfb_pid=$!
read -r -t 10 number <&3
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
"$program" 2>/dev/null &
app_pid=$!
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true' EXIT

window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Dravlet Problem Practice Version 2\.1$' 2>/dev/null | head -n 1 || true)
  [[ -n "$window" ]] && break
  sleep 0.05
done
[[ -n "$window" ]] || { echo "demo: the window did not appear" >&2; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$window"

shot() { sleep 0.4; "$xtool" shot "$out/$1.png" "$window" 2>/dev/null; echo "demo: $out/$1.png"; }
click() { xdotool mousemove --sync --window "$window" "$1" "$2" click 1; }

# The answer to the problem on screen, from its own numbers (all results are whole).
answer() {
  click 160 140                     # the problem box
  xdotool key ctrl+a ctrl+c
  sleep 0.2
  local text
  text=$(xclip -o -selection clipboard)
  click 160 140                     # a second click clears the selection
  click 90 292                      # back to the answer box
  local -a n
  read -r -a n <<<"$(grep -o '[0-9]\+' <<<"$text" | tr '\n' ' ')"
  if [[ "$text" == *"must be added"* ]]; then      # L1 of P1, add ? of P2 to reach R
    echo $(( n[0] * (n[3] - n[1]) / (n[2] - n[3]) ))
  elif [[ "$text" == *"needs"* ]]; then            # T of R from P1 and P2: how much of P1
    echo $(( n[0] * (n[3] - n[1]) / (n[3] - n[2]) ))
  else                                             # L1 of P1 and L2 of P2: the blend
    echo $(( (n[0] * n[1] + n[2] * n[3]) / (n[0] + n[2]) ))
  fi
}

shot 1-ready
xdotool key space                   # Start has the focus
shot 2-problem
right=$(answer)
xdotool type --delay 40 "$right"
shot 3-answer-typed
click 280 296                       # Submit
shot 4-right
xdotool key space                   # Next has the focus
shot 5-next-problem
xdotool type --delay 40 "$(( $(answer) + 1 ))"
xdotool key Tab space               # to Submit, and press it
shot 6-wrong
click 384 384                       # Quit
wait "$app_pid" && echo "demo: the program ended with status 0"
