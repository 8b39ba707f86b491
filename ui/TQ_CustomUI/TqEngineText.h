#pragma once

#include "tq_customui_export.h"

#include <QCoreApplication>
#include <QString>

// Words for the engine's codes, shown to the user.
class TQ_CUSTOMUI_EXPORT TqEngineText
{
    Q_DECLARE_TR_FUNCTIONS(TqEngineText)

public:
    // TQ_Util::GetSDKErrMsgById's text for a return or reason code, in the user's language
    // (the catalogs translate them under the context "TQ_Util").
    static QString error(int code);
    // The connection state of sig_onConnectState (idle 0, connecting 1, connected 2,
    // failed 3, kicked 4) as words.
    static QString connectState(int code);
};
