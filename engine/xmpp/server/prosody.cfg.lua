-- Prosody for development and tests, started by scripts/server.sh (never as the system
-- service). Paths and ports come from the environment the script sets.
local dir = ENV_TQ_XMPP_DIR
local conf = ENV_TQ_XMPP_CONF

-- The script runs as root in containers; nothing here needs a privileged port.
run_as_root = true
pidfile = dir .. "/prosody.pid"
data_path = dir .. "/data"

-- "info" never writes stanzas or SASL exchanges, so passwords stay out of the log.
log = {
    info = dir .. "/prosody.log";
    error = dir .. "/prosody.err";
}

interfaces = { "127.0.0.1" }
c2s_ports = { tonumber(ENV_TQ_XMPP_PORT) or 15222 }
c2s_direct_tls_ports = {}
s2s_ports = {}
http_ports = {}
https_ports = { tonumber(ENV_TQ_XMPP_HTTPS_PORT) or 15281 }
http_interfaces = { "127.0.0.1" }
https_interfaces = { "127.0.0.1" }

c2s_require_encryption = true
authentication = "internal_hashed"
allow_registration = false
storage = "internal"

certificates = dir .. "/certs"
ssl = {
    certificate = dir .. "/certs/server.crt";
    key = dir .. "/certs/server.key";
}
https_ssl = {
    certificate = dir .. "/certs/server.crt";
    key = dir .. "/certs/server.key";
}

modules_enabled = {
    "roster"; "saslauth"; "tls"; "disco"; "posix";
    "groups";        -- everyone in the organisation sees everyone
    "smacks";        -- stream management: acknowledged sends, resumption
    "carbons";
    "mam";
    "offline";
    "private";       -- top contacts
    "vcard_legacy"; "vcard4"; "pep";
    "ping"; "time"; "version"; "blocklist";
}
modules_disabled = { "s2s"; "admin_telnet"; "admin_shell"; "bosh"; "websocket" }

groups_file = conf .. "/groups.txt"
archive_expires_after = "1w"
default_archive_policy = true

VirtualHost "localhost"

Component "upload.localhost" "http_file_share"
    http_host = "localhost"
    http_external_url = "https://localhost:" .. (ENV_TQ_XMPP_HTTPS_PORT or "15281") .. "/"
    http_file_share_size_limit = 64 * 1024 * 1024
    http_file_share_access = { "localhost" }
