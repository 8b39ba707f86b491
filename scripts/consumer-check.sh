#!/usr/bin/env bash
# Installs the libraries and builds a small program against the installed CMake package,
# as a window-library developer would.
set -euo pipefail
cd "$(dirname "$0")/.."
stage="$PWD/build/stage"
rm -rf "$stage" build/consumer
cmake --install build/default --prefix "$stage" >/dev/null
cmake -S consumer -B build/consumer -G Ninja -DCMAKE_PREFIX_PATH="$stage" >/dev/null
cmake --build build/consumer
build/consumer/consumer
