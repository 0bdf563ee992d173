#!/usr/bin/env bash
# Configures and builds the release tree in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache makes rebuilds of unchanged sources (other trees, clean
# clones) nearly free.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)"
