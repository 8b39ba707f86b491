#!/usr/bin/env bash
# Builds the project and starts the program, solvane (under a virtual X server when there is
# no display), against the stand-in engine: log in as alice/alice (or bob/bob, carol/carol).
# Its contacts change presence now and then (TQ_SIM_LIVELY=1).
set -euo pipefail
cd "$(dirname "$0")/.."
# A font with Chinese characters: the program starts in Chinese unless the settings say
# Language=1.
bash scripts/deps.sh fonts-wqy-microhei
cmake --preset default >/dev/null
cmake --build --preset default -j 2
export TQ_SIM_LIVELY="${TQ_SIM_LIVELY:-1}"
if [ -n "${DISPLAY:-}" ]; then
    exec build/default/launcher/solvane "$@"
else
    exec xvfb-run -a build/default/launcher/solvane "$@"
fi
