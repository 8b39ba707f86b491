#!/usr/bin/env bash
# Regenerates docs/screenshots: the client in a scripted session against the stand-in engine
# (login, contacts, profile, app centre, chat with files and voice notes, a call, an incoming
# call) under a virtual X server, in English at 96 DPI, plus the login window in Chinese and
# at 192 DPI.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh fonts-wqy-microhei fonts-dejavu-core
cmake --preset default >/dev/null
cmake --build --preset default -j 2 --target client_tour
out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tour() { # <language> <suffix> [login-only], with QT_SCALE_FACTOR from the caller
    printf '[General]\nLanguage=%s\nMultiClients=true\n' "$1" > "$scratch/tq.ini"
    TQ_CONFIG_FILE="$scratch/tq.ini" TQ_DATA_DIR="$scratch/data" TQ_LOG_DIR="$scratch/log" \
        XDG_CONFIG_HOME="$scratch/config" QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 2400x1600x24" build/default/tools/client_tour/client_tour \
        "$out" "${@:2}"
}
tour 1 ""
tour 0 "-zh" login-only
QT_SCALE_FACTOR=2 tour 1 "-192dpi" login-only
