#pragma once

#include "tq_loginui_export.h"

#include <QObject>

class QWidget;
class LoginWindow;

// The login window library. The shell creates one; it shows the login form at once, which
// hides while a session is open and comes back when it ends. Closing the form ends the
// program: the launcher keeps the application running when windows close, so the window
// libraries decide when to quit.
class TQ_LOGINUI_EXPORT TQ_LoginUI : public QObject
{
    Q_OBJECT
public:
    TQ_LoginUI();
    ~TQ_LoginUI() override;

    QWidget *window() const;

private:
    LoginWindow *m_window;
};
