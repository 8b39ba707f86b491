// Session requests: login and logout over an XMPP client connection.

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppSession.h"

using namespace zsxmpp;

namespace {

QString loginText(const ZS_LoginInfo &info, int k)
{
    const char *text = info.text[k];
    return text ? QString::fromUtf8(text, int(qstrnlen(text, ZS_LOGIN_TEXT_SIZE))) : QString();
}

// text1 user (a bare JID, or a name on the server's domain), text2 password, text3 server,
// text4 port (empty: 5222). False when the record cannot name an account.
bool toLoginArgs(const ZS_LoginInfo &info, LoginArgs &args)
{
    const QString user = loginText(info, 0).trimmed();
    const QString server = loginText(info, 2).trimmed();
    const QString port = loginText(info, 3).trimmed();
    if (user.isEmpty() || (server.isEmpty() && !user.contains(QLatin1Char('@'))))
        return false;
    args.localNames = !user.contains(QLatin1Char('@'));
    args.jid = args.localNames ? user + QLatin1Char('@') + server : user;
    args.host = server.isEmpty() ? args.jid.section(QLatin1Char('@'), 1) : server;
    if (!port.isEmpty()) {
        bool ok = false;
        args.port = port.toInt(&ok);
        if (!ok || args.port < 1 || args.port > 65535)
            return false;
    }
    args.password = loginText(info, 1);
    bool ok = false;
    const int timeout = qEnvironmentVariableIntValue("TQ_XMPP_CONNECT_TIMEOUT_MS", &ok);
    if (ok && timeout > 0)
        args.connectTimeoutMs = timeout;
    args.caCertificates = trustedCas();
    return true;
}

} // namespace

extern "C" {

int SetServerEnvType(int nEnvType, const char *serverXmlFileName)
{
    // The server comes from the login record; the environment type has no meaning here.
    Engine::get().trace(QStringLiteral("SetServerEnvType %1 %2")
                            .arg(nEnvType)
                            .arg(QString::fromUtf8(serverXmlFileName ? serverXmlFileName : "")));
    return ZS_OK;
}

int Login(const ZS_LoginInfo *info)
{
    Engine &engine = Engine::get();
    if (!engine.running())
        return ZS_ERR_NOT_INITIALIZED;
    if (!info)
        return ZS_ERR_INVALID_ARGUMENT;
    LoginArgs args;
    if (!toLoginArgs(*info, args)) {
        engine.trace(QStringLiteral("Login refused: no user, no server or a bad port"));
        return ZS_ERR_INVALID_ARGUMENT;
    }
    Phase idle = Phase::Idle;
    if (!engine.phase.compare_exchange_strong(idle, Phase::Connecting))
        return ZS_ERR_BUSY;
    // Never the password.
    engine.trace(QStringLiteral("Login %1 via %2:%3").arg(args.jid, args.host).arg(args.port));
    if (!engine.post([args = std::move(args)]() mutable {
            Engine::get().session()->login(std::move(args));
        })) {
        engine.phase.store(Phase::Idle);
        return ZS_ERR_NOT_INITIALIZED;
    }
    return ZS_OK;
}

int Logout(void)
{
    Engine &engine = Engine::get();
    if (!engine.running())
        return ZS_ERR_NOT_INITIALIZED;
    engine.trace(QStringLiteral("Logout"));
    Phase from = engine.phase.load();
    // A login still connecting is abandoned the same way.
    while (from != Phase::Idle && !engine.phase.compare_exchange_weak(from, Phase::LoggingOut)) { }
    return engine.post([] { Engine::get().session()->logout(); }) ? int(ZS_OK)
                                                                  : int(ZS_ERR_NOT_INITIALIZED);
}

} // extern "C"
