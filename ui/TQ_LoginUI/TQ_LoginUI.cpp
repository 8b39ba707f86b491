#include "TQ_LoginUI.h"

#include "TqCallLog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_LoginUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_LoginUI *>;
    return *objects;
}
} // namespace

TQ_LoginUI::TQ_LoginUI()
    : m_window(new QWidget)
{
    TqCallLog::add(QStringLiteral("TQ_LoginUI"));
    liveObjects().append(this);

    m_window->setObjectName(QStringLiteral("loginWindow"));
    m_window->setWindowTitle(QStringLiteral("Solvane"));
    auto *note = new QLabel(tr("Solvane is running. Close this window to quit."), m_window);
    auto *quit = new QPushButton(tr("Quit"), m_window);
    quit->setObjectName(QStringLiteral("quitButton"));
    connect(quit, &QPushButton::clicked, m_window, &QWidget::close);
    auto *layout = new QVBoxLayout(m_window);
    layout->addWidget(note);
    layout->addWidget(quit, 0, Qt::AlignRight);

    m_window->installEventFilter(this);
    m_window->show();
}

bool TQ_LoginUI::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close)
        QCoreApplication::quit();
    return QObject::eventFilter(watched, event);
}
