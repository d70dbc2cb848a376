#!/usr/bin/env bash
# Installs what is missing, builds from scratch in build-test/ and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
rm -rf build-test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-test -j"$(nproc)"
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
