#!/usr/bin/env bash
# Builds the project and runs its main program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j 2
exec build/default/examples/hello_agent/hello_agent "$@"
