#!/usr/bin/env bash
# Regenerates docs/screenshots: the client in a scripted session against the stand-in engine
# (login, contacts, profile, app centre, chat with files and voice notes, a call, an incoming
# call) under a virtual X server, in English at 96 DPI, plus the login window in Chinese and
# at 192 DPI; then two clients chatting on the XMPP engine. `screenshots.sh xmpp` makes only
# the last one.
set -euo pipefail
cd "$(dirname "$0")/.."
only=${1:-all}
bash scripts/deps.sh fonts-wqy-microhei fonts-dejavu-core fonts-noto-color-emoji imagemagick
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
if [ "$only" != xmpp ]; then
    tour 1 ""
    tour 0 "-zh" login-only
    QT_SCALE_FACTOR=2 tour 1 "-192dpi" login-only
fi

# Two clients chatting through a Prosody of their own, on the XMPP engine: alice and bob,
# each in a process of its own, side by side in one picture.
xmpp_dir="$scratch/xmpp"
cmake --build --preset default -j 2 --target chat_pair ZSsdkXmpp
export TQ_XMPP_PORT=15922 TQ_XMPP_HTTPS_PORT=15981
bash scripts/server.sh start "$xmpp_dir" >/dev/null
trap 'bash scripts/server.sh stop "$xmpp_dir" >/dev/null; rm -rf "$scratch"' EXIT
side() { # <user> <peer> <first|second> <line>...
    mkdir -p "$scratch/$1"
    printf '[General]\nLanguage=1\nMultiClients=true\n' > "$scratch/$1/tq.ini"
    TQ_CONFIG_FILE="$scratch/$1/tq.ini" TQ_DATA_DIR="$scratch/$1/data" TQ_LOG_DIR="$scratch/$1/log" \
        XDG_CONFIG_HOME="$scratch/$1/config" QT_QPA_PLATFORM=xcb \
        LD_LIBRARY_PATH="$PWD/build/default/engine/xmpp/lib" \
        TQ_XMPP_CA_FILE="$xmpp_dir/certs/ca.crt" \
        xvfb-run -a -s "-screen 0 1600x1200x24" build/default/tools/chat_pair/chat_pair \
        "$scratch/$1.png" "$1" "$2" localhost "$TQ_XMPP_PORT" "$3" "${@:4}"
}
side alice bob first "Hi Bob, are you on the new server yet?" \
    "Great. The release notes are in the shared folder." &
alice=$!
side bob alice second "Yes, logged in from my laptop a minute ago." \
    "Thanks, reading them now. 👍" &
bob=$!
wait "$alice"
wait "$bob"
convert "$scratch/alice.png" "$scratch/bob.png" -background white -splice 16x0 +append \
    "$out/20-xmpp-two-clients.png"
echo "$out/20-xmpp-two-clients.png"
