#include "TqEngineText.h"

#include <TQ_Util.h>

namespace {
// TQ_Util's texts, listed for lupdate: the catalogs translate them under "TQ_Util".
[[maybe_unused]] const char *const kUtilTexts[] = {
    QT_TRANSLATE_NOOP("TQ_Util", "success"),
    QT_TRANSLATE_NOOP("TQ_Util", "not initialized"),
    QT_TRANSLATE_NOOP("TQ_Util", "invalid argument"),
    QT_TRANSLATE_NOOP("TQ_Util", "not logged in"),
    QT_TRANSLATE_NOOP("TQ_Util", "network error"),
    QT_TRANSLATE_NOOP("TQ_Util", "timed out"),
    QT_TRANSLATE_NOOP("TQ_Util", "busy"),
    QT_TRANSLATE_NOOP("TQ_Util", "wrong password"),
    QT_TRANSLATE_NOOP("TQ_Util", "no such user"),
    QT_TRANSLATE_NOOP("TQ_Util", "not found"),
    QT_TRANSLATE_NOOP("TQ_Util", "not supported"),
    QT_TRANSLATE_NOOP("TQ_Util", "bad request"),
    QT_TRANSLATE_NOOP("TQ_Util", "unauthorized"),
    QT_TRANSLATE_NOOP("TQ_Util", "forbidden"),
    QT_TRANSLATE_NOOP("TQ_Util", "request timeout"),
    QT_TRANSLATE_NOOP("TQ_Util", "busy here"),
    QT_TRANSLATE_NOOP("TQ_Util", "server error"),
    QT_TRANSLATE_NOOP("TQ_Util", "declined"),
};
} // namespace

QString TqEngineText::error(int code)
{
    const QString english = TQ_Util::GetSDKErrMsgById(code);
    const QString translated = QCoreApplication::translate("TQ_Util", english.toUtf8().constData());
    // Codes without a text of their own come back as "unknown error N".
    if (translated == english && english == QStringLiteral("unknown error %1").arg(code))
        return tr("unknown error %1").arg(code);
    return translated;
}

QString TqEngineText::connectState(int code)
{
    switch (code) {
    case 0:
        return tr("Not connected");
    case 1:
        return tr("Connecting…");
    case 2:
        return tr("Connected");
    case 3:
        return tr("Connection failed");
    case 4:
        return tr("Signed in elsewhere");
    default:
        return tr("Connection state %1").arg(code);
    }
}
