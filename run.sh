#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds pelkor and starts the desktop application on the given design. Without a display it
# says so and runs the design in the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELKOR_TESTS=OFF >/dev/null
cmake --build build/release
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  design=${1:-examples/full_adder.dtn}
  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running $design in pelkor-cli instead."
  exec build/release/src/cli/pelkor-cli run "$design"
fi
exec build/release/src/app/pelkor "$@"
