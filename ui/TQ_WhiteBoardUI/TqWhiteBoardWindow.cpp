#include "TqWhiteBoardWindow.h"

#include "TqBoardCodes.h"
#include "TqBoardSurface.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using Tool = TqBoardState::Tool;
using Phase = TqBoardState::Phase;

namespace {

QIcon swatch(const QColor &color, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 0, 0, 60));
    p.setBrush(color);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    return QIcon(pixmap);
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setProperty("role", QByteArray("subtitle"));
    return label;
}

} // namespace

QList<QColor> TqWhiteBoardWindow::palette()
{
    return {QColor(0x1c, 0x7e, 0xd6), QColor(0xe0, 0x31, 0x31), QColor(0x2f, 0x9e, 0x44),
            QColor(0xf0, 0x8c, 0x00), QColor(0x21, 0x25, 0x29)};
}

TqWhiteBoardWindow::TqWhiteBoardWindow(TqBoardState *state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_status(new QLabel(this))
    , m_roomNumber(new QLineEdit(this))
    , m_password(new QLineEdit(this))
    , m_join(new QPushButton(tr("Join"), this))
    , m_create(new QPushButton(tr("New room"), this))
    , m_leave(new QPushButton(tr("Leave"), this))
    , m_problem(new QLabel(this))
    , m_tools(new QButtonGroup(this))
    , m_colors(new QButtonGroup(this))
    , m_width(new QSpinBox(this))
    , m_undo(new QPushButton(tr("Undo"), this))
    , m_redo(new QPushButton(tr("Redo"), this))
    , m_clear(new QPushButton(tr("Clear mine"), this))
    , m_zoomOut(new QPushButton(tr("−"), this))
    , m_zoom(new QLabel(this))
    , m_zoomIn(new QPushButton(tr("+"), this))
    , m_fit(new QPushButton(tr("Fit"), this))
    , m_surface(new TqBoardSurface(state, this))
    , m_members(new QListWidget(this))
    , m_drawRight(new QPushButton(this))
    , m_documents(new QListWidget(this))
    , m_upload(new QPushButton(tr("Upload…"), this))
    , m_progress(new QProgressBar(this))
    , m_share(new QPushButton(tr("Share"), this))
    , m_prev(new QPushButton(tr("Previous"), this))
    , m_page(new QLabel(this))
    , m_next(new QPushButton(tr("Next"), this))
{
    setObjectName(QStringLiteral("whiteBoardWindow"));
    setWindowTitle(tr("Whiteboard"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setProperty("role", QByteArray("muted"));
    m_roomNumber->setObjectName(QStringLiteral("roomNumberEdit"));
    m_roomNumber->setPlaceholderText(tr("Room number"));
    m_roomNumber->setValidator(new QIntValidator(1, 999999999, m_roomNumber));
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setPlaceholderText(tr("Password (optional)"));
    m_password->setEchoMode(QLineEdit::Password);
    m_join->setObjectName(QStringLiteral("joinButton"));
    m_create->setObjectName(QStringLiteral("createButton"));
    m_create->setProperty("role", QByteArray("primary"));
    m_leave->setObjectName(QStringLiteral("leaveButton"));
    m_problem->setObjectName(QStringLiteral("problemLabel"));
    m_problem->setProperty("role", QByteArray("error"));
    m_problem->hide();
    m_width->setObjectName(QStringLiteral("widthSpin"));
    m_width->setRange(1, 40);
    m_width->setSuffix(tr(" px"));
    m_undo->setObjectName(QStringLiteral("undoButton"));
    m_redo->setObjectName(QStringLiteral("redoButton"));
    m_clear->setObjectName(QStringLiteral("clearButton"));
    m_zoomOut->setObjectName(QStringLiteral("zoomOutButton"));
    m_zoomOut->setToolTip(tr("Zoom out"));
    m_zoom->setObjectName(QStringLiteral("zoomLabel"));
    m_zoomIn->setObjectName(QStringLiteral("zoomInButton"));
    m_zoomIn->setToolTip(tr("Zoom in"));
    m_fit->setObjectName(QStringLiteral("fitButton"));
    m_fit->setToolTip(tr("Fit the page"));
    m_members->setObjectName(QStringLiteral("memberList"));
    m_drawRight->setObjectName(QStringLiteral("drawRightButton"));
    m_documents->setObjectName(QStringLiteral("documentList"));
    m_upload->setObjectName(QStringLiteral("uploadButton"));
    m_progress->setObjectName(QStringLiteral("uploadProgress"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_members->setSpacing(2);
    m_documents->setSpacing(2);
    m_share->setObjectName(QStringLiteral("shareButton"));
    m_prev->setObjectName(QStringLiteral("prevPageButton"));
    m_page->setObjectName(QStringLiteral("pageLabel"));
    m_page->setAlignment(Qt::AlignCenter);
    m_next->setObjectName(QStringLiteral("nextPageButton"));

    const QFontMetrics fm = fontMetrics();
    const int gap = fm.height() / 2;

    auto *roomRow = new QHBoxLayout;
    auto *title = new QLabel(tr("Whiteboard"), this);
    title->setProperty("role", QByteArray("title"));
    roomRow->addWidget(title);
    roomRow->addWidget(m_status, 1);
    m_roomNumber->setMaximumWidth(fm.averageCharWidth() * 20);
    m_password->setMaximumWidth(fm.averageCharWidth() * 26);
    roomRow->addWidget(m_roomNumber);
    roomRow->addWidget(m_password);
    roomRow->addWidget(m_join);
    roomRow->addWidget(m_create);
    roomRow->addWidget(m_leave);

    auto *toolRow = new QHBoxLayout;
    toolRow->setSpacing(gap / 2);
    toolRow->addWidget(toolButton(tr("Pen"), Tool::Pen, "penTool"));
    toolRow->addWidget(toolButton(tr("Marker"), Tool::Marker, "markerTool"));
    toolRow->addWidget(toolButton(tr("Line"), Tool::Line, "lineTool"));
    toolRow->addWidget(toolButton(tr("Rectangle"), Tool::Rectangle, "rectangleTool"));
    toolRow->addWidget(toolButton(tr("Ellipse"), Tool::Ellipse, "ellipseTool"));
    toolRow->addWidget(toolButton(tr("Eraser"), Tool::Eraser, "eraserTool"));
    toolRow->addSpacing(gap);
    const QList<QColor> colors = palette();
    for (int i = 0; i < colors.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("color%1").arg(i));
        button->setCheckable(true);
        button->setIcon(swatch(colors.at(i), fm.height()));
        button->setToolTip(colors.at(i).name());
        m_colors->addButton(button, i);
        toolRow->addWidget(button);
    }
    toolRow->addSpacing(gap);
    toolRow->addWidget(new QLabel(tr("Width"), this));
    toolRow->addWidget(m_width);
    toolRow->addSpacing(gap);
    toolRow->addWidget(m_undo);
    toolRow->addWidget(m_redo);
    toolRow->addWidget(m_clear);
    toolRow->addStretch(1);
    toolRow->addWidget(m_zoomOut);
    m_zoom->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("400 %")));
    m_zoom->setAlignment(Qt::AlignCenter);
    toolRow->addWidget(m_zoom);
    toolRow->addWidget(m_zoomIn);
    toolRow->addWidget(m_fit);

    auto *side = new QVBoxLayout;
    side->addWidget(heading(tr("Members"), this));
    side->addWidget(m_members, 2);
    side->addWidget(m_drawRight);
    side->addSpacing(gap);
    side->addWidget(heading(tr("Documents"), this));
    side->addWidget(m_documents, 1);
    side->addWidget(m_progress);
    auto *docButtons = new QHBoxLayout;
    docButtons->addWidget(m_upload);
    docButtons->addWidget(m_share);
    side->addLayout(docButtons);
    side->addSpacing(gap);
    side->addWidget(heading(tr("Pages"), this));
    auto *pageRow = new QHBoxLayout;
    pageRow->addWidget(m_prev);
    pageRow->addWidget(m_page, 1);
    pageRow->addWidget(m_next);
    side->addLayout(pageRow);
    auto *sideWidget = new QWidget(this);
    sideWidget->setLayout(side);
    sideWidget->setFixedWidth(fm.averageCharWidth() * 34);
    side->setContentsMargins(0, 0, 0, 0);

    auto *body = new QHBoxLayout;
    body->addWidget(m_surface, 1);
    body->addWidget(sideWidget);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(gap * 2, gap * 2, gap * 2, gap * 2);
    layout->setSpacing(gap);
    layout->addLayout(roomRow);
    layout->addWidget(m_problem);
    layout->addLayout(toolRow);
    layout->addLayout(body, 1);
    resize(fm.averageCharWidth() * 150, fm.height() * 40);

    m_chooseFile = [this] {
        return QFileDialog::getOpenFileName(
            this, tr("Upload a document"), QString(),
            tr("Documents (*.txt *.md *.png *.jpg);;All files (*)"));
    };

    connect(m_create, &QPushButton::clicked, this, [this] {
        m_problem->hide();
        m_state->createRoom(m_password->text());
    });
    connect(m_join, &QPushButton::clicked, this, [this] {
        m_problem->hide();
        m_state->joinRoom(m_roomNumber->text().toInt(), m_password->text());
    });
    connect(m_roomNumber, &QLineEdit::returnPressed, m_join, &QPushButton::click);
    connect(m_roomNumber, &QLineEdit::textChanged, this, &TqWhiteBoardWindow::refresh);
    connect(m_leave, &QPushButton::clicked, this, [this] { m_state->leaveRoom(); });
    connect(m_tools, QOverload<QAbstractButton *>::of(&QButtonGroup::buttonClicked), this,
            [this](QAbstractButton *b) { m_state->setTool(Tool(m_tools->id(b))); });
    connect(m_colors, QOverload<QAbstractButton *>::of(&QButtonGroup::buttonClicked), this,
            [this](QAbstractButton *b) { m_state->setColor(palette().value(m_colors->id(b))); });
    connect(m_width, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this](int width) { m_state->setLineWidth(width); });
    connect(m_undo, &QPushButton::clicked, this, [this] { m_state->undo(); });
    connect(m_redo, &QPushButton::clicked, this, [this] { m_state->redo(); });
    connect(m_clear, &QPushButton::clicked, this, [this] { m_state->clearMyDrawing(); });
    connect(m_zoomIn, &QPushButton::clicked, this,
            [this] { m_state->zoomIn(m_surface->rect().center()); });
    connect(m_zoomOut, &QPushButton::clicked, this,
            [this] { m_state->zoomOut(m_surface->rect().center()); });
    connect(m_fit, &QPushButton::clicked, this, [this] { m_state->zoomToFit(); });
    connect(m_upload, &QPushButton::clicked, this, &TqWhiteBoardWindow::upload);
    connect(m_share, &QPushButton::clicked, this, &TqWhiteBoardWindow::share);
    connect(m_documents, &QListWidget::itemDoubleClicked, this, &TqWhiteBoardWindow::share);
    connect(m_documents, &QListWidget::currentRowChanged, this, &TqWhiteBoardWindow::refresh);
    connect(m_members, &QListWidget::currentRowChanged, this, &TqWhiteBoardWindow::refresh);
    connect(m_drawRight, &QPushButton::clicked, this, &TqWhiteBoardWindow::toggleDrawing);
    connect(m_prev, &QPushButton::clicked, this, [this] { m_state->previousPage(); });
    connect(m_next, &QPushButton::clicked, this, [this] { m_state->nextPage(); });
    connect(m_state, &TqBoardState::changed, this, &TqWhiteBoardWindow::refresh);
    connect(m_state, &TqBoardState::problem, this, &TqWhiteBoardWindow::showProblem);
    refresh();
}

QToolButton *TqWhiteBoardWindow::toolButton(const QString &text, Tool tool, const char *name)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setCheckable(true);
    m_tools->addButton(button, int(tool));
    return button;
}

void TqWhiteBoardWindow::refresh()
{
    const Phase phase = m_state->phase();
    const bool ready = phase == Phase::Ready;
    const bool inRoom = phase == Phase::InRoom;
    switch (phase) {
    case Phase::Offline:
        m_status->setText(tr("Not connected"));
        break;
    case Phase::Connecting:
        m_status->setText(tr("Connecting…"));
        break;
    case Phase::Ready:
        m_status->setText(tr("Connected: create a room or join one"));
        break;
    case Phase::Creating:
        m_status->setText(tr("Creating a room…"));
        break;
    case Phase::Joining:
        m_status->setText(tr("Joining…"));
        break;
    case Phase::InRoom:
        m_status->setText(tr("Room %1").arg(m_state->roomId()));
        break;
    case Phase::Leaving:
        m_status->setText(tr("Leaving…"));
        break;
    }
    m_roomNumber->setEnabled(ready);
    m_password->setEnabled(ready);
    m_join->setEnabled(ready && !m_roomNumber->text().isEmpty());
    m_create->setEnabled(ready);
    m_leave->setEnabled(inRoom);

    const bool drawing = inRoom && m_state->canDraw();
    for (QAbstractButton *b : m_tools->buttons())
        b->setEnabled(drawing);
    m_tools->button(int(m_state->tool()))->setChecked(true);
    const int colorIndex = palette().indexOf(m_state->color());
    for (QAbstractButton *b : m_colors->buttons()) {
        b->setEnabled(drawing);
        b->setChecked(m_colors->id(b) == colorIndex);
    }
    m_width->setEnabled(drawing);
    {
        const QSignalBlocker block(m_width);
        m_width->setValue(m_state->lineWidth());
    }
    m_undo->setEnabled(drawing && m_state->canUndo());
    m_redo->setEnabled(drawing && m_state->canRedo());
    m_clear->setEnabled(drawing);
    m_zoomIn->setEnabled(inRoom && m_state->zoomPercent() < TqBoardState::MaxZoom);
    m_zoomOut->setEnabled(inRoom && m_state->zoomPercent() > TqBoardState::MinZoom);
    m_fit->setEnabled(inRoom);
    m_zoom->setText(tr("%1 %").arg(m_state->zoomPercent()));

    const QString selectedMember = m_members->currentItem()
        ? m_members->currentItem()->data(Qt::UserRole).toString()
        : QString();
    {
        const QSignalBlocker block(m_members);
        m_members->clear();
        for (const TqBoardState::Member &m : m_state->members()) {
            const QString role = m.role == TqBoardCode::RoleHost ? tr("host")
                : m.role == TqBoardCode::RolePresenter           ? tr("presenter")
                                                                 : tr("viewer");
            QString text = m.userId == m_state->account() ? tr("%1 (you)").arg(m.userId) : m.userId;
            text += QLatin1Char('\n')
                + (m.canDraw ? tr("%1 · may draw").arg(role) : tr("%1 · watches").arg(role));
            auto *item = new QListWidgetItem(text, m_members);
            item->setData(Qt::UserRole, m.userId);
            item->setData(Qt::UserRole + 1, m.canDraw);
            if (m.userId == selectedMember)
                m_members->setCurrentItem(item);
        }
    }
    QListWidgetItem *member = m_members->currentItem();
    const bool other = member && member->data(Qt::UserRole).toString() != m_state->account();
    const bool mayDraw = member && member->data(Qt::UserRole + 1).toBool();
    m_drawRight->setText(mayDraw ? tr("Stop drawing") : tr("Allow drawing"));
    m_drawRight->setEnabled(inRoom && m_state->isHost() && other);

    const int selectedDoc
        = m_documents->currentItem() ? m_documents->currentItem()->data(Qt::UserRole).toInt() : 0;
    {
        const QSignalBlocker block(m_documents);
        m_documents->clear();
        for (const TqBoardState::Document &d : m_state->documents()) {
            QString text = d.pages == 1 ? tr("%1 (1 page)").arg(d.name)
                : d.pages > 1           ? tr("%1 (%2 pages)").arg(d.name).arg(d.pages)
                                        : tr("%1 (converting…)").arg(d.name);
            if (d.docId == m_state->sharedDoc())
                text += QLatin1Char('\n') + tr("shared");
            auto *item = new QListWidgetItem(text, m_documents);
            item->setData(Qt::UserRole, d.docId);
            if (d.docId == selectedDoc)
                m_documents->setCurrentItem(item);
        }
        if (!m_documents->currentItem() && m_documents->count() > 0)
            m_documents->setCurrentRow(m_documents->count() - 1);
    }
    m_upload->setEnabled(inRoom && !m_state->isUploading());
    m_share->setEnabled(inRoom && m_state->canDraw() && m_documents->currentItem());
    const qulonglong total = m_state->uploadTotal();
    m_progress->setVisible(m_state->isUploading());
    m_progress->setValue(total > 0 ? int(m_state->uploadDone() * 100 / total) : 0);

    const bool paged = inRoom && m_state->sharedDoc() != 0;
    m_page->setText(paged
                        ? tr("Page %1 / %2").arg(m_state->pageIndex() + 1).arg(m_state->pageCount())
                        : tr("No document shared"));
    m_prev->setEnabled(paged && m_state->pageIndex() > 0);
    m_next->setEnabled(paged && m_state->pageIndex() + 1 < m_state->pageCount());
}

void TqWhiteBoardWindow::showProblem(TqBoardState::Problem problem)
{
    using P = TqBoardState::Problem;
    QString text;
    switch (problem) {
    case P::ConnectFailed:
        text = tr("The whiteboard server cannot be reached.");
        break;
    case P::CreateFailed:
        text = tr("The room could not be created.");
        break;
    case P::JoinFailed:
        text = tr("There is no such room.");
        break;
    case P::WrongPassword:
        text = tr("The password is not right.");
        break;
    case P::RoomFull:
        text = tr("The room is full.");
        break;
    case P::UploadFailed:
        text = tr("The document could not be uploaded.");
        break;
    case P::ShareFailed:
        text = tr("The document could not be shared.");
        break;
    case P::NotAllowed:
        text = tr("The host has not allowed you to do that.");
        break;
    }
    m_problem->setText(text);
    m_problem->show();
}

void TqWhiteBoardWindow::upload()
{
    const QString path = m_chooseFile ? m_chooseFile() : QString();
    if (path.isEmpty())
        return;
    m_problem->hide();
    m_state->uploadFile(path);
}

void TqWhiteBoardWindow::share()
{
    if (QListWidgetItem *item = m_documents->currentItem())
        m_state->shareDocument(item->data(Qt::UserRole).toInt());
}

void TqWhiteBoardWindow::toggleDrawing()
{
    QListWidgetItem *member = m_members->currentItem();
    if (!member)
        return;
    m_state->setMemberDrawing(member->data(Qt::UserRole).toString(),
                              !member->data(Qt::UserRole + 1).toBool());
}
