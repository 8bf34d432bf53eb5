#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a Windows program of the build under Wine: wine-run.sh PREFIX PROGRAM [ARGUMENT...]
# The prefix is the build's own, made on first use (once, however many tests start at once);
# Wine's own messages are kept off, and it is told not to offer to download Mono or Gecko.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [[ -f $WINEPREFIX/system.reg ]] || { wineboot -i >/dev/null 2>&1 && wineserver -w; }
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
