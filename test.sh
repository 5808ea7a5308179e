#!/usr/bin/env bash
# Installs what is missing, builds mirel (Debug, warnings as errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mirel_install_deps

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIREL_WERROR=ON
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
