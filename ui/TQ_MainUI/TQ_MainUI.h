#pragma once

#include "tq_mainui_export.h"

#include <QList>
#include <QObject>

class ChatState;
class GroupState;
class MainWindow;

// The main window library. The shell creates one; its window shows while a session is open.
class TQ_MAINUI_EXPORT TQ_MainUI : public QObject
{
    Q_OBJECT
public:
    TQ_MainUI();
    ~TQ_MainUI() override;

    // The launcher's single-instance handle; held for the life of the program.
    void setHandle(void *handle);
    void *handle() const { return m_handle; }

    MainWindow *window() const { return m_window; }
    // The chat, bound to the messaging agent.
    ChatState *chat() const { return m_chat; }
    // The groups, bound to the messaging agent and the chat.
    GroupState *groups() const { return m_groups; }

    // Every main-window object alive, oldest first.
    static QList<TQ_MainUI *> instances();

private:
    void *m_handle = nullptr;
    ChatState *m_chat;
    GroupState *m_groups;
    MainWindow *m_window;
};
