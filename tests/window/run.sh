#!/usr/bin/env bash
# Window sessions under Xvfb: starts an X server of its own, runs the tests in
# test_window_session.py against it, and stops it.
set -euo pipefail
cd "$(dirname "$0")"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  xdpyinfo -display "$display" >/dev/null 2>&1 && break
  sleep 0.1
done
# A window manager, as on a desktop: full screen and closing go through it.
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $server 2>/dev/null || true' EXIT
sleep 0.5
# The test machine has no sound card: OpenAL's null output stands in for one,
# so the no-device message (a modal box) does not wait for a player.
export ALSOFT_DRIVERS=null
DISPLAY="$display" timeout 240 python3 test_window_session.py
