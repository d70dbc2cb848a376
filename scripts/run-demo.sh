#!/usr/bin/env bash
# Installs what is missing, builds and starts ZRV with a simulated instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Everything the README then names: the demo, the simulator and the program itself.
cmake --build build -j"$(nproc)" --target zrv-demo zrv-instrument-sim zrv
exec ./build/zrv-demo "$@"
