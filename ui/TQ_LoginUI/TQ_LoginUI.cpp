#include "TQ_LoginUI.h"

#include "LoginWindow.h"

#include <TqCallLog.h>
#include <TqSession.h>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_LoginUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_LoginUI *>;
    return *objects;
}
} // namespace

TQ_LoginUI::TQ_LoginUI()
    : m_window(new LoginWindow(TqSession::instance(), LoginSettings()))
{
    TqCallLog::add(QStringLiteral("TQ_LoginUI"));
    liveObjects().append(this);
    if (!TqSession::instance()->isLoggedIn())
        m_window->show();
}

TQ_LoginUI::~TQ_LoginUI()
{
    liveObjects().removeAll(this);
    delete m_window;
}

QWidget *TQ_LoginUI::window() const
{
    return m_window;
}
