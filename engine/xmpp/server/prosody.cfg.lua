-- Prosody for development and tests, started by scripts/server.sh (never as the system
-- service). Paths and ports come from the environment the script sets.
local dir = ENV_TQ_XMPP_DIR
local domain = ENV_TQ_XMPP_DOMAIN or "localhost"
local addr = ENV_TQ_XMPP_ADDR or "127.0.0.1"
-- Not named http_host: a local of that name would take the option's assignment below.
local web_host = ENV_TQ_XMPP_HTTP_HOST or "localhost"
-- Set only for federated servers (scripts/server.sh --federated).
local s2s_port = tonumber(ENV_TQ_XMPP_S2S_PORT)

-- The script runs as root in containers; nothing here needs a privileged port.
run_as_root = true
pidfile = dir .. "/prosody.pid"
data_path = dir .. "/data"

-- "info" never writes stanzas or SASL exchanges, so passwords stay out of the log.
log = {
    info = dir .. "/prosody.log";
    error = dir .. "/prosody.err";
}

interfaces = { addr }
c2s_ports = { tonumber(ENV_TQ_XMPP_PORT) or 15222 }
c2s_direct_tls_ports = {}
s2s_ports = { s2s_port }
http_ports = {}
https_ports = { tonumber(ENV_TQ_XMPP_HTTPS_PORT) or 15281 }
http_interfaces = { addr }
https_interfaces = { addr }

c2s_require_encryption = true
authentication = "internal_hashed"
allow_registration = false
storage = "internal"
-- TQ_XMPP_ARCHIVE=memory keeps the message archives (MAM, rooms' history) in memory, for
-- benchmarks: the file store re-reads and rewrites whole archive files once they grow.
if ENV_TQ_XMPP_ARCHIVE == "memory" then
    storage = { archive = "memory"; muc_log = "memory" }
end

certificates = dir .. "/certs"
ssl = {
    certificate = dir .. "/certs/server.crt";
    key = dir .. "/certs/server.key";
    cafile = dir .. "/certs/ca.crt"; -- the one CA that federated servers trust
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
    -- vCard-temp stored as given (mod_vcard): vcard_legacy would drop the profile's own
    -- element (urn:tq:vcard:0) when it converts to vCard4.
    "vcard"; "vcard4"; "pep";
    "ping"; "time"; "version"; "blocklist";
}
local disabled = { "admin_telnet"; "admin_shell"; "bosh"; "websocket" }
if s2s_port then
    -- Federation only over TLS with certificates from the CA; the peers' addresses come from
    -- the hosts file the script writes, not from DNS.
    s2s_require_encryption = true
    s2s_secure_auth = true
    unbound = { hoststxt = ENV_TQ_XMPP_HOSTS }
else
    table.insert(disabled, "s2s")
end
modules_disabled = disabled

-- Written by the script for the domains it serves.
groups_file = dir .. "/groups.txt"
archive_expires_after = "1w"
default_archive_policy = true

VirtualHost (domain)

Component ("upload." .. domain) "http_file_share"
    http_host = web_host
    http_external_url = "https://" .. web_host .. ":" .. (ENV_TQ_XMPP_HTTPS_PORT or "15281") .. "/"
    http_file_share_size_limit = 64 * 1024 * 1024
    -- The default (ten times the size limit a day) runs out after some test runs: every slot
    -- counts, a cancelled upload's too.
    http_file_share_daily_quota = 16 * 1024 * 1024 * 1024
    http_file_share_access = { domain }

-- Groups: persistent, members-only rooms that show their members' JIDs to the members, made
-- by the users of this server; their messages archived (MAM).
Component ("conference." .. domain) "muc"
    modules_enabled = { "muc_mam" }
    restrict_room_creation = "local"
    muc_room_default_persistent = true
    muc_room_default_members_only = true
    muc_room_default_public = false
    muc_room_default_public_jids = true
    muc_room_default_allow_member_invites = true
    muc_log_by_default = true
