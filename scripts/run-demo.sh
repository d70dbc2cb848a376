#!/usr/bin/env bash
# Installs what is missing, builds and starts ZRV with a simulated instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Everything the README then names: the demo, the simulator and the program itself.
cmake --build build -j"$(nproc)" --target zrv-demo zrv-instrument-sim zrv
# The per-value debug lines stay out of the terminal unless asked for, with
# --debug or ZRV_DEBUG=1; a QT_LOGGING_RULES of the caller's own is kept.
show_debug="${ZRV_DEBUG:-0}"
args=()
for arg in "$@"; do
    if [[ "$arg" == --debug ]]; then
        show_debug=1
    else
        args+=("$arg")
    fi
done
if [[ "$show_debug" != 1 && -z "${QT_LOGGING_RULES:-}" ]]; then
    export QT_LOGGING_RULES="*.debug=false"
fi
exec ./build/zrv-demo "${args[@]}"
