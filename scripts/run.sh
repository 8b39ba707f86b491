#!/usr/bin/env bash
# Builds the project and starts the program, solvane (under a virtual X server when there is
# no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j 2
if [ -n "${DISPLAY:-}" ]; then
    exec build/default/launcher/solvane "$@"
else
    exec xvfb-run -a build/default/launcher/solvane "$@"
fi
