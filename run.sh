#!/usr/bin/env bash
# Builds pelkor and starts the main program with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELKOR_TESTS=OFF >/dev/null
cmake --build build/release
if [[ -x build/release/src/app/pelkor ]]; then
  exec build/release/src/app/pelkor "$@"
elif [[ -x build/release/src/cli/pelkor-cli ]]; then
  exec build/release/src/cli/pelkor-cli "$@"
fi
echo "Built the pelkor core library (build/release/src/libpelkor_core.a); no program yet."
