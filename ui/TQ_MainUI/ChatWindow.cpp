#include "ChatWindow.h"

#include "ChatState.h"
#include "ChatText.h"
#include "MessageListModel.h"
#include "VoiceRecorder.h"

#include <TqAvatar.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kProblemMs = 8000;

QLabel *label(const char *role, const char *name, QWidget *parent)
{
    auto *created = new QLabel(parent);
    created->setProperty("role", QByteArray(role));
    created->setObjectName(QLatin1String(name));
    return created;
}

QString pictureFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return ChatWindow::tr("Pictures (%1)").arg(patterns.join(QLatin1Char(' ')));
}
} // namespace

// ---- ChatInput -------------------------------------------------------------------------------

ChatInput::ChatInput(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

QSize ChatInput::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return QSize(fm.averageCharWidth() * 40, fm.lineSpacing() * 3 + fm.height());
}

void ChatInput::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
            insertPlainText(QStringLiteral("\n"));
            ensureCursorVisible();
        } else {
            emit submitted();
        }
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// ---- MessageView -----------------------------------------------------------------------------

MessageView::MessageView(QWidget *parent)
    : QListView(parent)
    , m_delegate(new MessageDelegate(this))
{
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(false);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalScrollBar()->setSingleStep(fontMetrics().height());
}

QStyleOptionViewItem MessageView::optionFor(const QModelIndex &index) const
{
    QStyleOptionViewItem option = viewOptions();
    option.rect = visualRect(index);
    return option;
}

bool MessageView::isAtBottom() const
{
    const QScrollBar *bar = verticalScrollBar();
    return bar->value() >= bar->maximum() - fontMetrics().height();
}

// ---- ChatWindow ------------------------------------------------------------------------------

ChatWindow::ChatWindow(ChatState *chat, QWidget *parent)
    : QWidget(parent)
    , m_chat(chat)
    , m_open([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("chatWindow"));
    setAcceptDrops(true);
    buildUi();

    connect(chat, &ChatState::problem, this, &ChatWindow::showProblem);
    VoiceRecorder *recorder = chat->recorder();
    connect(recorder, &VoiceRecorder::stateChanged, this, &ChatWindow::updateRecorder);
    connect(recorder, &VoiceRecorder::levelChanged, this,
            [this](double level) { m_level->setValue(int(level * 100)); });
    connect(recorder, &VoiceRecorder::failed, this, &ChatWindow::showProblem);
    m_recordClock.setInterval(250);
    connect(&m_recordClock, &QTimer::timeout, this, &ChatWindow::updateRecorder);
    m_problemTimer.setSingleShot(true);
    m_problemTimer.setInterval(kProblemMs);
    connect(&m_problemTimer, &QTimer::timeout, m_problem, &QLabel::hide);
    updateRecorder();
    openConversation(QString());
}

void ChatWindow::buildUi()
{
    const int gap = fontMetrics().height() / 2;
    m_pages = new QStackedWidget(this);

    auto *none = label("muted", "noConversationNote", m_pages);
    none->setText(tr("Choose a conversation on the left, or right-click a contact and choose "
                     "“Send message”."));
    none->setAlignment(Qt::AlignCenter);
    none->setWordWrap(true);
    m_pages->addWidget(none);

    auto *page = new QWidget(m_pages);
    auto *header = new QFrame(page);
    header->setObjectName(QStringLiteral("chatHeader"));
    m_avatar = new TqAvatar(header);
    m_avatar->setDiameterInLines(2.0);
    m_name = label("subtitle", "chatPeerLabel", header);
    m_account = label("muted", "chatAccountLabel", header);
    auto *names = new QVBoxLayout;
    names->setSpacing(0);
    names->addWidget(m_name);
    names->addWidget(m_account);
    auto *headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(gap);
    headerLayout->addWidget(m_avatar);
    headerLayout->addLayout(names, 1);

    m_view = new MessageView(page);
    m_view->setObjectName(QStringLiteral("messageView"));
    m_view->viewport()->installEventFilter(this);
    connect(m_view, &QWidget::customContextMenuRequested, this, &ChatWindow::showMenu);

    const auto tool = [page](const char *name, const QString &text, const QString &tip) {
        auto *button = new QToolButton(page);
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setToolTip(tip);
        return button;
    };
    m_fileButton = tool("fileButton", tr("File…"), tr("Send a file"));
    m_pictureButton = tool("pictureButton", tr("Picture…"), tr("Send a picture"));
    m_voiceButton = tool("voiceButton", tr("Voice note"), tr("Record a voice note"));
    connect(m_fileButton, &QToolButton::clicked, this, [this] { chooseFile(false); });
    connect(m_pictureButton, &QToolButton::clicked, this, [this] { chooseFile(true); });
    connect(m_voiceButton, &QToolButton::clicked, this, [this] {
        if (!m_chat->startRecording(m_peer))
            showProblem(tr("A voice note cannot be recorded now."));
    });

    m_recordBar = new QFrame(page);
    m_recordBar->setObjectName(QStringLiteral("recordBar"));
    m_recordBar->setProperty("role", QByteArray("card"));
    m_recordLabel = label("", "recordLabel", m_recordBar);
    m_level = new QProgressBar(m_recordBar);
    m_level->setObjectName(QStringLiteral("recordLevel"));
    m_level->setRange(0, 100);
    m_level->setTextVisible(false);
    auto *cancelRecording = new QPushButton(tr("Cancel"), m_recordBar);
    cancelRecording->setObjectName(QStringLiteral("cancelRecordingButton"));
    auto *sendRecording = new QPushButton(tr("Send voice note"), m_recordBar);
    sendRecording->setObjectName(QStringLiteral("sendRecordingButton"));
    sendRecording->setProperty("role", QByteArray("primary"));
    connect(cancelRecording, &QPushButton::clicked, m_chat->recorder(), &VoiceRecorder::cancel);
    connect(sendRecording, &QPushButton::clicked, m_chat->recorder(), &VoiceRecorder::finish);
    auto *recordLayout = new QHBoxLayout(m_recordBar);
    recordLayout->setContentsMargins(gap, gap / 2, gap, gap / 2);
    recordLayout->setSpacing(gap);
    recordLayout->addWidget(m_recordLabel);
    recordLayout->addWidget(m_level, 1);
    recordLayout->addWidget(cancelRecording);
    recordLayout->addWidget(sendRecording);

    m_input = new ChatInput(page);
    m_input->setObjectName(QStringLiteral("messageInput"));
    m_input->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_input->setPlaceholderText(tr("Write a message. Enter sends, Shift+Enter starts a new line."));
    connect(m_input, &ChatInput::submitted, this, &ChatWindow::send);
    m_send = new QPushButton(tr("Send"), page);
    m_send->setObjectName(QStringLiteral("sendButton"));
    m_send->setProperty("role", QByteArray("primary"));
    connect(m_send, &QPushButton::clicked, this, &ChatWindow::send);

    m_problem = label("error", "chatProblemLabel", page);
    m_problem->setWordWrap(true);
    m_problem->hide();

    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(gap);
    bottom->addWidget(m_fileButton);
    bottom->addWidget(m_pictureButton);
    bottom->addWidget(m_voiceButton);
    bottom->addWidget(m_problem, 1);
    bottom->addStretch();
    bottom->addWidget(m_send);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(gap);
    layout->addWidget(header);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_recordBar);
    layout->addWidget(m_input);
    layout->addLayout(bottom);
    m_pages->addWidget(page);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_pages);
}

void ChatWindow::openConversation(const QString &peer)
{
    if (peer == m_peer && (peer.isEmpty() || m_model))
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_peer = peer;
    m_model = nullptr;
    m_problem->hide();
    if (peer.isEmpty()) {
        m_view->setModel(nullptr);
        m_pages->setCurrentIndex(0);
        updateViewing();
        emit conversationOpened(peer);
        return;
    }
    m_chat->open(peer);
    m_model = m_chat->messages(peer);
    m_view->setModel(m_model);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ChatWindow::onRowsInserted);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ChatWindow::updateHeader);
    m_pages->setCurrentIndex(1);
    updateHeader();
    m_view->scrollToBottom();
    m_stickToBottom = true;
    updateViewing();
    m_input->setFocus();
    emit conversationOpened(peer);
}

void ChatWindow::updateHeader()
{
    if (!m_model)
        return;
    const QString name = m_model->peerName();
    m_name->setText(name);
    m_account->setText(name == m_peer ? QString() : m_peer);
    m_account->setVisible(name != m_peer);
    m_avatar->setPerson(m_peer, name);
}

void ChatWindow::onRowsInserted(const QModelIndex &, int, int last)
{
    const bool own = m_model && m_model->at(last).outgoing;
    if (own || m_stickToBottom || m_view->isAtBottom()) {
        // After the view has laid the new rows out.
        QTimer::singleShot(0, m_view, [view = QPointer<MessageView>(m_view)] {
            if (view)
                view->scrollToBottom();
        });
    }
    m_stickToBottom = false;
}

void ChatWindow::send()
{
    const QString text = m_input->toPlainText();
    if (text.trimmed().isEmpty())
        return;
    if (m_chat->sendText(m_peer, text))
        m_input->clear();
}

bool ChatWindow::attach(const QString &path)
{
    return m_chat->sendFile(m_peer, path);
}

void ChatWindow::chooseFile(bool pictures)
{
    const QString path = pictures
        ? QFileDialog::getOpenFileName(this, tr("Send a picture"), QString(), pictureFilter())
        : QFileDialog::getOpenFileName(this, tr("Send a file"));
    if (!path.isEmpty())
        attach(path);
}

QRect ChatWindow::actionRect(const QString &key, MessageDelegate::Action action)
{
    if (!m_model)
        return QRect();
    const QModelIndex index = m_model->index(m_model->rowOf(key));
    if (!index.isValid())
        return QRect();
    m_view->scrollTo(index);
    return m_view->messageDelegate()->actionRect(m_view->optionFor(index), index, action);
}

QRect ChatWindow::bubbleRect(const QString &key)
{
    if (!m_model)
        return QRect();
    const QModelIndex index = m_model->index(m_model->rowOf(key));
    if (!index.isValid())
        return QRect();
    m_view->scrollTo(index);
    const MessageDelegate::Layout layout
        = m_view->messageDelegate()->layout(m_view->optionFor(index), m_model->at(index.row()));
    return layout.bubble.isEmpty() ? layout.meta : layout.bubble;
}

void ChatWindow::perform(const QModelIndex &index, MessageDelegate::Action action)
{
    using A = MessageDelegate::Action;
    if (!m_model || !index.isValid())
        return;
    const ChatMessage m = m_model->at(index.row());
    switch (action) {
    case A::Retry:
        m_chat->retry(m_peer, m.key);
        break;
    case A::Cancel:
        m_chat->cancelTransfer(m_peer, m.key);
        break;
    case A::Download:
        m_chat->download(m_peer, m.key);
        break;
    case A::ShowInFolder:
        m_open(QUrl::fromLocalFile(QFileInfo(m.localFile).absolutePath()));
        break;
    case A::OpenPicture:
        m_open(QUrl::fromLocalFile(m.localFile));
        break;
    case A::Play:
        m_chat->togglePlay(m_peer, m.key);
        break;
    case A::OpenLink: {
        // Only web addresses: a card's address is the sender's to choose.
        const QUrl url(m.linkUrl);
        if (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"))
            m_open(url);
        break;
    }
    case A::None:
        break;
    }
}

void ChatWindow::showMenu(const QPoint &at)
{
    const QModelIndex index = m_view->indexAt(at);
    if (!m_model || !index.isValid())
        return;
    const ChatMessage m = m_model->at(index.row());
    const QString key = m.key;
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("messageMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&](const char *name, const QString &text, auto fn) {
        QAction *action = menu->addAction(text, this, fn);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    if (!m.withdrawn && m.kind == ChatMessage::Kind::Text) {
        add("copyAction", tr("&Copy"),
            [text = m.text] { QApplication::clipboard()->setText(text); });
    }
    if (!m.withdrawn && m.kind == ChatMessage::Kind::LinkCard && !m.linkUrl.isEmpty()) {
        add("copyLinkAction", tr("Copy &address"),
            [url = m.linkUrl] { QApplication::clipboard()->setText(url); });
    }
    if (m.canRetry())
        add("retryAction", tr("&Send again"), [this, key] { m_chat->retry(m_peer, key); });
    if (m.canCancel())
        add("cancelAction", tr("&Cancel the transfer"),
            [this, key] { m_chat->cancelTransfer(m_peer, key); });
    if (m.hasLocalFile() && !m.withdrawn && m.isMedia()) {
        add("showInFolderAction", tr("Show in &folder"), [this, file = m.localFile] {
            m_open(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
        });
    }
    if (m.canWithdraw())
        add("withdrawAction", tr("&Withdraw"), [this, key] { m_chat->withdraw(m_peer, key); });
    if (!menu->isEmpty())
        menu->addSeparator();
    add("deleteAction", tr("&Delete"), [this, key] { m_chat->remove(m_peer, key); });
    menu->popup(m_view->viewport()->mapToGlobal(at));
}

void ChatWindow::updateRecorder()
{
    const VoiceRecorder *recorder = m_chat->recorder();
    const VoiceRecorder::State state = recorder->state();
    m_recordBar->setVisible(state != VoiceRecorder::State::Idle);
    m_voiceButton->setEnabled(state == VoiceRecorder::State::Idle);
    switch (state) {
    case VoiceRecorder::State::Idle:
        m_recordClock.stop();
        m_level->setValue(0);
        break;
    case VoiceRecorder::State::Starting:
        m_recordLabel->setText(tr("Starting the recording…"));
        break;
    case VoiceRecorder::State::Recording: {
        if (!m_recordClock.isActive())
            m_recordClock.start();
        const qint64 seconds = recorder->elapsedMs() / 1000;
        m_recordLabel->setText(tr("● Recording for %1 %2:%3")
                                   .arg(m_chat->displayName(recorder->peer()))
                                   .arg(seconds / 60)
                                   .arg(seconds % 60, 2, 10, QLatin1Char('0')));
        break;
    }
    case VoiceRecorder::State::Finishing:
        m_recordClock.stop();
        m_recordLabel->setText(tr("Preparing the voice note…"));
        break;
    }
    const bool recording = state == VoiceRecorder::State::Recording;
    for (QPushButton *button : m_recordBar->findChildren<QPushButton *>())
        button->setEnabled(recording);
}

void ChatWindow::showProblem(const QString &text)
{
    m_problem->setText(text);
    m_problem->show();
    m_problemTimer.start();
}

void ChatWindow::updateViewing()
{
    const bool inView
        = isVisible() && !m_peer.isEmpty() && !(window()->windowState() & Qt::WindowMinimized);
    m_chat->setViewing(inView ? m_peer : QString());
}

void ChatWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateViewing();
}

void ChatWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    updateViewing();
}

void ChatWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        updateViewing();
}

void ChatWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_peer.isEmpty() || !event->mimeData()->hasUrls())
        return;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            return;
    }
    event->acceptProposedAction();
}

void ChatWindow::dropEvent(QDropEvent *event)
{
    for (const QUrl &url : event->mimeData()->urls())
        attach(url.toLocalFile());
    event->acceptProposedAction();
}

bool ChatWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view->viewport() || !m_model)
        return QWidget::eventFilter(watched, event);
    if (event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::MouseMove)
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QModelIndex index = m_view->indexAt(mouse->pos());
    const MessageDelegate::Action action = index.isValid()
        ? m_view->messageDelegate()->actionAt(m_view->optionFor(index), index, mouse->pos())
        : MessageDelegate::Action::None;
    if (event->type() == QEvent::MouseMove) {
        m_view->viewport()->setCursor(
            action == MessageDelegate::Action::None ? Qt::ArrowCursor : Qt::PointingHandCursor);
    } else if (mouse->button() == Qt::LeftButton) {
        perform(index, action);
    }
    return QWidget::eventFilter(watched, event);
}
