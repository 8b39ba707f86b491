#pragma once

#include "tq_loginui_export.h"

#include <QObject>

class QWidget;

// The login window; for now a window that shows the program runs. Closing it ends the
// program: the launcher keeps the application running when windows close, so the window
// libraries decide when to quit.
class TQ_LOGINUI_EXPORT TQ_LoginUI : public QObject
{
    Q_OBJECT
public:
    TQ_LoginUI();

    QWidget *window() const { return m_window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};
