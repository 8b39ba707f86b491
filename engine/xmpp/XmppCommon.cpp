#include "XmppCommon.h"

#include "XmppEngine.h"

#include <QFile>

namespace zsxmpp {

unsigned int issueKey(unsigned int *matchKey)
{
    unsigned int key = 0;
    while (key == 0) // 0 means "no key" to callers; skipped when the counter wraps
        key = Engine::get().nextKey.fetch_add(1);
    if (matchKey)
        *matchKey = key;
    return key;
}

int sessionCheck()
{
    Engine &engine = Engine::get();
    if (!engine.running())
        return ZS_ERR_NOT_INITIALIZED;
    const Phase phase = engine.phase.load();
    return phase == Phase::Connected || phase == Phase::Reconnecting ? int(ZS_OK)
                                                                     : int(ZS_ERR_NOT_LOGGED_IN);
}

QList<QSslCertificate> trustedCas()
{
    const QString path = qEnvironmentVariable("TQ_XMPP_CA_FILE");
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Engine::get().trace(QStringLiteral("cannot read CA file %1").arg(escaped(path)));
        return {};
    }
    return QSslCertificate::fromData(file.readAll(), QSsl::Pem);
}

QString escaped(const QString &value)
{
    QString out(QLatin1Char('"'));
    for (const QChar c : value) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('"')
            || c == QLatin1Char('\\'))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace zsxmpp
