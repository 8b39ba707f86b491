#!/usr/bin/env bash
# A Prosody on the loopback for the XMPP engine: start, stop or status.
#   scripts/server.sh start|stop|status [DIR]
# DIR (default build/xmpp-server) holds the certificates, the accounts, the log and the pid.
# Ports: TQ_XMPP_PORT (client, default 15222), TQ_XMPP_HTTPS_PORT (file share, default 15281).
# Clients trust DIR/certs/ca.crt (TQ_XMPP_CA_FILE for the engine).
set -euo pipefail
cd "$(dirname "$0")/.."
cmd=${1:-status}
dir=$(realpath -m "${2:-build/xmpp-server}")
export TQ_XMPP_DIR="$dir"
export TQ_XMPP_CONF="$PWD/engine/xmpp/server"
export TQ_XMPP_PORT=${TQ_XMPP_PORT:-15222}
export TQ_XMPP_HTTPS_PORT=${TQ_XMPP_HTTPS_PORT:-15281}
cfg="$TQ_XMPP_CONF/prosody.cfg.lua"
pidfile="$dir/prosody.pid"

running_pid() {
    [ -f "$pidfile" ] || return 1
    local pid
    pid=$(cat "$pidfile")
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && echo "$pid"
}

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# Waits up to $2 tenths of a second for the condition in $1 to hold.
wait_for() {
    local cond=$1 tries=$2
    while [ "$tries" -gt 0 ]; do
        eval "$cond" && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

make_certs() {
    local c="$dir/certs"
    [ -f "$c/server.crt" ] && return 0
    mkdir -p "$c"
    chmod 700 "$c"
    openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=TQ test CA" \
        -keyout "$c/ca.key" -out "$c/ca.crt" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
        2>/dev/null
    openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
        -keyout "$c/server.key" -out "$c/server.csr" 2>/dev/null
    printf '%s\n' "subjectAltName=DNS:localhost,DNS:upload.localhost,IP:127.0.0.1" \
        "extendedKeyUsage=serverAuth" "basicConstraints=CA:FALSE" >"$c/server.ext"
    openssl x509 -req -in "$c/server.csr" -CA "$c/ca.crt" -CAkey "$c/ca.key" -CAcreateserial \
        -days 825 -extfile "$c/server.ext" -out "$c/server.crt" 2>/dev/null
    rm -f "$c/server.csr" "$c/server.ext"
}

# Test accounts only: each password is the user's name. Passed on stdin, never on a command
# line that ps or a log could show.
make_accounts() {
    local u
    for u in alice bob carol; do
        [ -d "$dir/data/localhost/accounts" ] && [ -f "$dir/data/localhost/accounts/$u.dat" ] \
            && continue
        printf '%s\n%s\n' "$u" "$u" | prosodyctl --config "$cfg" adduser "$u@localhost" >/dev/null
    done
}

case "$cmd" in
start)
    if pid=$(running_pid); then
        echo "prosody already running (pid $pid) in $dir"
        exit 0
    fi
    command -v prosody >/dev/null || bash scripts/deps.sh prosody openssl
    mkdir -p "$dir/data"
    make_certs
    make_accounts
    rm -f "$pidfile"
    nohup prosody --config "$cfg" -F >"$dir/prosody.out" 2>&1 &
    pid=$!
    if ! wait_for "port_open $TQ_XMPP_PORT && port_open $TQ_XMPP_HTTPS_PORT" 200; then
        echo "prosody did not open port $TQ_XMPP_PORT; see $dir/prosody.out and $dir/prosody.log" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    echo "prosody running (pid $pid) on 127.0.0.1:$TQ_XMPP_PORT, CA $dir/certs/ca.crt"
    ;;
stop)
    if ! pid=$(running_pid); then
        echo "prosody not running in $dir"
        exit 0
    fi
    kill "$pid"
    if ! wait_for "! kill -0 $pid 2>/dev/null" 100; then
        echo "prosody (pid $pid) did not stop" >&2
        exit 1
    fi
    echo "prosody stopped"
    ;;
status)
    if pid=$(running_pid); then
        echo "prosody running (pid $pid) on 127.0.0.1:$TQ_XMPP_PORT in $dir"
    else
        echo "prosody not running in $dir"
        exit 3
    fi
    ;;
*)
    echo "usage: $0 start|stop|status [DIR]" >&2
    exit 2
    ;;
esac
