#pragma once

#include "MessageDelegate.h"
#include "tq_mainui_export.h"

#include <QListView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <functional>

class ChatState;
class MessageListModel;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QToolButton;
class TqAvatar;

// The text a message is written in: Enter sends, Shift+Enter (or Ctrl+Enter) starts a new line.
class TQ_MAINUI_EXPORT ChatInput : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit ChatInput(QWidget *parent = nullptr);

    QSize sizeHint() const override;

signals:
    void submitted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The messages of one conversation; says where a row's parts are, for clicks.
class TQ_MAINUI_EXPORT MessageView : public QListView
{
    Q_OBJECT
public:
    explicit MessageView(QWidget *parent = nullptr);

    MessageDelegate *messageDelegate() const { return m_delegate; }
    // The style option a row is painted with.
    QStyleOptionViewItem optionFor(const QModelIndex &index) const;
    bool isAtBottom() const;

private:
    MessageDelegate *m_delegate;
};

// One conversation: the peer, the messages as bubbles, and the ways to answer (text, files,
// pictures, voice notes). It shows the conversation that openConversation() names, and the
// chat counts that conversation's messages as read while the window is visible.
class TQ_MAINUI_EXPORT ChatWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ChatWindow(ChatState *chat, QWidget *parent = nullptr);

    ChatState *chat() const { return m_chat; }
    QString peer() const { return m_peer; }
    MessageView *messageView() const { return m_view; }
    ChatInput *input() const { return m_input; }

    // Shows a conversation (empty: none).
    void openConversation(const QString &peer);
    // Sends a file (a picture as a picture) to the open conversation.
    bool attach(const QString &path);
    // Where to click on the message `key` for `action`, in the view's viewport; scrolls the
    // message into view. Empty when the message offers no such action now.
    QRect actionRect(const QString &key, MessageDelegate::Action action);
    // The message's bubble (a withdrawn one's note), in the viewport; scrolls it into view.
    QRect bubbleRect(const QString &key);
    // Opens links, pictures and folders (QDesktopServices by default).
    void setUrlOpener(std::function<void(const QUrl &)> opener) { m_open = std::move(opener); }

signals:
    // Another conversation (empty: none) is shown.
    void conversationOpened(const QString &peer);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void send();
    void chooseFile(bool pictures);
    void perform(const QModelIndex &index, MessageDelegate::Action action);
    void showMenu(const QPoint &at);
    void updateViewing();
    void updateHeader();
    void updateRecorder();
    void showProblem(const QString &text);
    void onRowsInserted(const QModelIndex &parent, int first, int last);

    ChatState *m_chat;
    QString m_peer;
    QPointer<MessageListModel> m_model;
    std::function<void(const QUrl &)> m_open;
    bool m_stickToBottom = true;

    QStackedWidget *m_pages = nullptr;
    TqAvatar *m_avatar = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_account = nullptr;
    MessageView *m_view = nullptr;
    QToolButton *m_fileButton = nullptr;
    QToolButton *m_pictureButton = nullptr;
    QToolButton *m_voiceButton = nullptr;
    QWidget *m_recordBar = nullptr;
    QLabel *m_recordLabel = nullptr;
    QProgressBar *m_level = nullptr;
    ChatInput *m_input = nullptr;
    QPushButton *m_send = nullptr;
    QLabel *m_problem = nullptr;
    QTimer m_recordClock;
    QTimer m_problemTimer;
};
