#!/usr/bin/env bash
# Builds the project and starts the program, solvane (under a virtual X server when there is
# no display).
#   scripts/run.sh [--engine sim|xmpp] [solvane's arguments]
# sim (default): against the stand-in engine: log in as alice/alice (or bob/bob, carol/carol).
#   Its contacts change presence now and then (TQ_SIM_LIVELY=1).
# xmpp: against the XMPP engine (built by the default preset) and the project's Prosody
#   (scripts/server.sh start; left running for the next client, stopped with
#   scripts/server.sh stop): log in as alice/alice (or bob/bob, carol/carol), server
#   localhost, port TQ_XMPP_PORT (15222).
set -euo pipefail
cd "$(dirname "$0")/.."
engine=sim
args=()
while [ $# -gt 0 ]; do
    case "$1" in
    --engine)
        engine=${2:-}
        shift 2 || { echo "--engine needs sim or xmpp" >&2; exit 2; }
        ;;
    --engine=*)
        engine=${1#--engine=}
        shift
        ;;
    *)
        args+=("$1")
        shift
        ;;
    esac
done
# A font with Chinese characters: the program starts in Chinese unless the settings say
# Language=1.
bash scripts/deps.sh fonts-wqy-microhei
case "$engine" in
sim)
    cmake --preset default >/dev/null
    cmake --build --preset default -j 2
    export TQ_SIM_LIVELY="${TQ_SIM_LIVELY:-1}"
    program=build/default/launcher/solvane
    ;;
xmpp)
    # The default preset builds the engine too (TQ_BUILD_XMPP_ENGINE).
    build=build/default
    cmake --preset default >/dev/null
    cmake --build --preset default -j 2 --target solvane ZSsdkXmpp
    bash scripts/server.sh start
    # TQ_Agent's RUNPATH names the stand-in's directory; LD_LIBRARY_PATH comes first.
    export LD_LIBRARY_PATH="$PWD/$build/engine/xmpp/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    export TQ_XMPP_CA_FILE="$PWD/build/xmpp-server/certs/ca.crt"
    program=$build/launcher/solvane
    ;;
*)
    echo "unknown engine '$engine': sim or xmpp" >&2
    exit 2
    ;;
esac
if [ -n "${DISPLAY:-}" ]; then
    exec "$program" ${args[@]+"${args[@]}"}
else
    exec xvfb-run -a "$program" ${args[@]+"${args[@]}"}
fi
