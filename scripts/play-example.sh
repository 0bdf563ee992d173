#!/usr/bin/env bash
# Sets up, builds, packs the bundled example game and runs it in a window
# (headless when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
build/vexlo-pack examples/showcase -o build/showcase
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${VEXLO_HEADLESS:-}" ]; then
  echo "No display found: running headless for 300 steps."
  export VEXLO_HEADLESS=1 VEXLO_MAX_STEPS=${VEXLO_MAX_STEPS:-300}
fi
exec build/showcase
