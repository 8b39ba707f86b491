#!/usr/bin/env bash
# Prosody on the loopback for the XMPP engine: start, stop or status.
#   scripts/server.sh start|stop|status [DIR]
#       One server for the domain "localhost" on 127.0.0.1. DIR (default build/xmpp-server)
#       holds the certificates, the accounts, the log and the pid.
#   scripts/server.sh --federated start|stop|status [DIR]
#       Two servers that federate over TLS: "alpha.test" on 127.0.0.1 and "beta.test" on
#       127.0.0.2, each with the same ports on its own address, server-to-server on port 5269
#       of each address (the port a server dials when no DNS record names another). DIR
#       (default build/xmpp-federation) holds alpha/ and beta/, each laid out like a single
#       server's DIR.
# Ports: TQ_XMPP_PORT (client, default 15222), TQ_XMPP_HTTPS_PORT (file share, default 15281).
# Every certificate is signed by one small CA made at first start; clients trust
# DIR/certs/ca.crt (DIR/alpha/certs/ca.crt when federated), TQ_XMPP_CA_FILE for the engine.
# Test accounts alice, bob and carol on each domain; each password is the user's name.
# TQ_XMPP_MEMBERS=N also makes m01 ... mN (benchmarks' group members, not in the shared roster).
set -euo pipefail
cd "$(dirname "$0")/.."
federated=0
if [ "${1:-}" = --federated ]; then
    federated=1
    shift
fi
cmd=${1:-status}
if [ "$federated" = 1 ]; then
    top=$(realpath -m "${2:-build/xmpp-federation}")
else
    top=$(realpath -m "${2:-build/xmpp-server}")
fi
export TQ_XMPP_CONF="$PWD/engine/xmpp/server"
export TQ_XMPP_PORT=${TQ_XMPP_PORT:-15222}
export TQ_XMPP_HTTPS_PORT=${TQ_XMPP_HTTPS_PORT:-15281}
s2s_port=5269
cfg="$TQ_XMPP_CONF/prosody.cfg.lua"
users=(alice bob carol)
members=()
for ((i = 1; i <= ${TQ_XMPP_MEMBERS:-0}; i++)); do
    members+=("$(printf 'm%02d' "$i")")
done

port_open() { (exec 3<>"/dev/tcp/$1/$2") 2>/dev/null; }

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

# The CA in $1, made once.
make_ca() {
    local c=$1
    [ -f "$c/ca.crt" ] && return 0
    mkdir -p "$c"
    chmod 700 "$c"
    openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=TQ test CA" \
        -keyout "$c/ca.key" -out "$c/ca.crt" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
        2>/dev/null
}

# The server certificate of one instance, signed by the CA in $1: its domain, the domain's
# services, and its address. Client and server use.
make_cert() {
    local ca=$1 c="$dir/certs"
    [ -f "$c/server.crt" ] && return 0
    mkdir -p "$c"
    chmod 700 "$c"
    [ "$ca" = "$c" ] || cp "$ca/ca.crt" "$c/ca.crt"
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$domain" \
        -keyout "$c/server.key" -out "$c/server.csr" 2>/dev/null
    printf '%s\n' \
        "subjectAltName=DNS:$domain,DNS:upload.$domain,DNS:conference.$domain,IP:$addr" \
        "extendedKeyUsage=serverAuth,clientAuth" "basicConstraints=CA:FALSE" >"$c/server.ext"
    openssl x509 -req -in "$c/server.csr" -CA "$ca/ca.crt" -CAkey "$ca/ca.key" \
        -CAcreateserial -days 825 -extfile "$c/server.ext" -out "$c/server.crt" 2>/dev/null
    rm -f "$c/server.csr" "$c/server.ext"
}

# Test accounts only: each password is the user's name. Passed on stdin, never on a command
# line that ps or a log could show.
make_accounts() {
    local u store
    store="$dir/data/$(printf '%s' "$domain" | sed 's/\./%2e/g')/accounts"
    for u in "${users[@]}" ${members[@]+"${members[@]}"}; do
        [ -f "$store/$u.dat" ] && continue
        printf '%s\n%s\n' "$u" "$u" | prosodyctl --config "$cfg" adduser "$u@$domain" >/dev/null
    done
}

# The shared roster: everyone of every domain served here sees everyone.
write_groups() {
    local d u
    {
        echo "[Staff]"
        for d in "$@"; do
            for u in "${users[@]}"; do
                echo "$u@$d=$u"
            done
        done
    } >"$dir/groups.txt"
}

# Sets the instance: dir, domain, addr, and what the configuration reads.
instance() {
    dir=$1 domain=$2 addr=$3
    export TQ_XMPP_DIR="$dir" TQ_XMPP_DOMAIN="$domain" TQ_XMPP_ADDR="$addr"
    export TQ_XMPP_HTTP_HOST="$4" TQ_XMPP_HOSTS="$top/hosts"
    if [ "$federated" = 1 ]; then
        export TQ_XMPP_S2S_PORT="$s2s_port"
    else
        unset TQ_XMPP_S2S_PORT
    fi
    pidfile="$dir/prosody.pid"
}

running_pid() {
    [ -f "$pidfile" ] || return 1
    local pid
    pid=$(cat "$pidfile")
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && echo "$pid"
}

start_one() {
    local pid
    if pid=$(running_pid); then
        echo "prosody already running (pid $pid) for $domain in $dir"
        return 0
    fi
    mkdir -p "$dir/data"
    make_cert "$1"
    make_accounts
    rm -f "$pidfile"
    nohup prosody --config "$cfg" -F >"$dir/prosody.out" 2>&1 &
    pid=$!
    local wait_ports="port_open $addr $TQ_XMPP_PORT && port_open $addr $TQ_XMPP_HTTPS_PORT"
    [ "$federated" = 1 ] && wait_ports="$wait_ports && port_open $addr $s2s_port"
    if ! wait_for "$wait_ports" 200; then
        echo "prosody for $domain did not open its ports; see $dir/prosody.out and $dir/prosody.log" >&2
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    echo "prosody running (pid $pid) for $domain on $addr:$TQ_XMPP_PORT, CA $dir/certs/ca.crt"
}

stop_one() {
    local pid
    if ! pid=$(running_pid); then
        echo "prosody not running for $domain in $dir"
        return 0
    fi
    kill "$pid"
    if ! wait_for "! kill -0 $pid 2>/dev/null" 100; then
        echo "prosody (pid $pid) did not stop" >&2
        return 1
    fi
    echo "prosody stopped for $domain"
}

status_one() {
    local pid
    if pid=$(running_pid); then
        echo "prosody running (pid $pid) for $domain on $addr:$TQ_XMPP_PORT in $dir"
    else
        echo "prosody not running for $domain in $dir"
        return 3
    fi
}

# Runs $1 (start_one, stop_one, status_one) on every instance.
each() {
    if [ "$federated" = 0 ]; then
        instance "$top" localhost 127.0.0.1 localhost
        [ "$1" = start_one ] && make_ca "$top/certs" && write_groups localhost
        "$1" "$top/certs"
        return
    fi
    local rc=0
    [ "$1" = start_one ] && make_ca "$top/ca"
    # The servers find each other through this hosts file (see the configuration).
    mkdir -p "$top"
    printf '%s\n' "127.0.0.1 alpha.test upload.alpha.test conference.alpha.test" \
        "127.0.0.2 beta.test upload.beta.test conference.beta.test" >"$top/hosts"
    instance "$top/alpha" alpha.test 127.0.0.1 127.0.0.1
    [ "$1" = start_one ] && mkdir -p "$dir" && write_groups alpha.test beta.test
    "$1" "$top/ca" || rc=$?
    instance "$top/beta" beta.test 127.0.0.2 127.0.0.2
    [ "$1" = start_one ] && mkdir -p "$dir" && write_groups alpha.test beta.test
    "$1" "$top/ca" || rc=$?
    return "$rc"
}

case "$cmd" in
start)
    command -v prosody >/dev/null || bash scripts/deps.sh prosody openssl
    each start_one
    ;;
stop) each stop_one ;;
status) each status_one ;;
*)
    echo "usage: $0 [--federated] start|stop|status [DIR]" >&2
    exit 2
    ;;
esac
