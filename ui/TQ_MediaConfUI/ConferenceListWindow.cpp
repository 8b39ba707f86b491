#include "ConferenceListWindow.h"

#include "ConferenceCodes.h"
#include "ConferenceModels.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

using List = TqConfDirectory::List;

namespace {
constexpr List kLists[] = {List::Current, List::Scheduled, List::History};
const char *const kViewNames[] = {"currentList", "scheduledList", "historyList"};
} // namespace

TqConfListWindow::TqConfListWindow(TqConfDirectory *directory, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_directory(directory)
    , m_banner(new QLabel(this))
    , m_tabs(new QTabWidget(this))
    , m_empty(new QLabel(this))
    , m_page(new QLabel(this))
    , m_previous(new QPushButton(tr("Previous"), this))
    , m_next(new QPushButton(tr("Next"), this))
    , m_refresh(new QPushButton(tr("Refresh"), this))
    , m_create(new QPushButton(tr("New conference…"), this))
    , m_join(new QPushButton(tr("Join"), this))
    , m_edit(new QPushButton(tr("Edit…"), this))
    , m_cancel(new QPushButton(tr("Cancel conference"), this))
{
    setObjectName(QStringLiteral("conferenceListWindow"));
    setWindowTitle(tr("Conferences"));
    m_banner->setObjectName(QStringLiteral("conferenceBanner"));
    m_banner->setProperty("role", QByteArray("banner"));
    m_banner->setWordWrap(true);
    m_banner->setTextFormat(Qt::PlainText);
    m_banner->hide();
    m_tabs->setObjectName(QStringLiteral("conferenceTabs"));
    m_tabs->setDocumentMode(true);
    m_empty->setObjectName(QStringLiteral("emptyNote"));
    m_empty->setProperty("role", QByteArray("muted"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_page->setObjectName(QStringLiteral("pageLabel"));
    m_page->setProperty("role", QByteArray("muted"));
    m_previous->setObjectName(QStringLiteral("previousPageButton"));
    m_next->setObjectName(QStringLiteral("nextPageButton"));
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_create->setObjectName(QStringLiteral("newConferenceButton"));
    m_create->setProperty("role", QByteArray("primary"));
    m_join->setObjectName(QStringLiteral("joinButton"));
    m_join->setProperty("role", QByteArray("primary"));
    m_edit->setObjectName(QStringLiteral("editButton"));
    m_cancel->setObjectName(QStringLiteral("cancelConferenceButton"));

    const QString titles[] = {tr("Current"), tr("Scheduled"), tr("History")};
    const int em = fontMetrics().averageCharWidth();
    for (int i = 0; i < 3; ++i) {
        m_models[i] = new TqConfListModel(this);
        auto *v = new QTreeView(this);
        v->setObjectName(QLatin1String(kViewNames[i]));
        v->setModel(m_models[i]);
        v->setRootIsDecorated(false);
        v->setUniformRowHeights(true);
        v->setAlternatingRowColors(true);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->header()->setStretchLastSection(false);
        v->header()->setSectionResizeMode(TqConfListModel::NameColumn, QHeaderView::Stretch);
        v->header()->resizeSection(TqConfListModel::WhenColumn, em * 32);
        v->header()->resizeSection(TqConfListModel::HostColumn, em * 18);
        v->header()->resizeSection(TqConfListModel::MembersColumn, em * 12);
        m_views[i] = v;
        m_tabs->addTab(v, titles[i]);
        const List list = kLists[i];
        connect(v->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TqConfListWindow::refreshControls);
        connect(v, &QTreeView::activated, this, [this, list](const QModelIndex &index) {
            if (list != List::History)
                emit joinRequested(index.data(TqConfListModel::IdRole).toString());
        });
    }

    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_directory->page(currentList()) == 0)
            m_directory->refresh(currentList());
        refreshControls();
    });
    connect(m_previous, &QPushButton::clicked, this,
            [this] { m_directory->showPage(currentList(), m_directory->page(currentList()) - 1); });
    connect(m_next, &QPushButton::clicked, this,
            [this] { m_directory->showPage(currentList(), m_directory->page(currentList()) + 1); });
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        m_banner->hide();
        m_directory->refresh(currentList());
    });
    connect(m_create, &QPushButton::clicked, this, &TqConfListWindow::createRequested);
    connect(m_join, &QPushButton::clicked, this, [this] { emit joinRequested(selectedId()); });
    connect(m_edit, &QPushButton::clicked, this, [this] { emit editRequested(selectedId()); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_directory->cancel(selectedId()); });
    connect(m_directory, &TqConfDirectory::listChanged, this, &TqConfListWindow::refreshList);

    auto *title = new QLabel(tr("Conferences"), this);
    title->setProperty("role", QByteArray("title"));
    auto *top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(m_create);

    auto *pager = new QHBoxLayout;
    pager->addWidget(m_previous);
    pager->addWidget(m_page);
    pager->addWidget(m_next);
    pager->addStretch();
    pager->addWidget(m_refresh);

    auto *actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(m_cancel);
    actions->addWidget(m_edit);
    actions->addWidget(m_join);

    auto *layout = new QVBoxLayout(this);
    const int gap = fontMetrics().height() * 3 / 4;
    layout->setContentsMargins(gap * 2, gap * 2, gap * 2, gap * 2);
    layout->setSpacing(gap);
    layout->addLayout(top);
    layout->addWidget(m_banner);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_empty);
    layout->addLayout(pager);
    layout->addLayout(actions);
    resize(em * 110, fontMetrics().height() * 28);
    for (List list : kLists)
        refreshList(list);
}

TqConfDirectory::List TqConfListWindow::currentList() const
{
    return kLists[qBound(0, m_tabs->currentIndex(), 2)];
}

void TqConfListWindow::showList(List list)
{
    m_tabs->setCurrentIndex(int(list));
}

QTreeView *TqConfListWindow::view(List list) const
{
    return m_views[int(list)];
}

TqConfListModel *TqConfListWindow::model(List list) const
{
    return m_models[int(list)];
}

QString TqConfListWindow::selectedId() const
{
    const QModelIndexList rows = view(currentList())->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : rows.first().data(TqConfListModel::IdRole).toString();
}

void TqConfListWindow::showBanner(const QString &text)
{
    m_banner->setText(text);
    m_banner->setVisible(!text.isEmpty());
}

void TqConfListWindow::refreshList(List list)
{
    const QString selected = list == currentList() ? selectedId() : QString();
    TqConfListModel *m = model(list);
    m->setConferences(m_directory->conferences(list));
    for (int row = 0; row < m->rowCount(); ++row)
        if (!selected.isEmpty() && m->at(row).id == selected)
            view(list)->setCurrentIndex(m->index(row, 0));
    refreshControls();
}

void TqConfListWindow::refreshControls()
{
    const List list = currentList();
    const int page = m_directory->page(list);
    const int pages = m_directory->pageCount(list);
    if (m_directory->isLoading(list) && page == 0)
        m_page->setText(tr("Loading…"));
    else if (pages > 0)
        m_page->setText(tr("Page %1 of %2").arg(qMax(page, 1)).arg(pages));
    else
        m_page->setText(page > 0 ? tr("Page %1").arg(page) : QString());
    m_previous->setEnabled(page > 1);
    m_next->setEnabled(m_directory->hasNextPage(list));

    const bool empty = model(list)->rowCount() == 0 && !m_directory->isLoading(list);
    m_empty->setText(list == List::History
                         ? tr("No past conferences.")
                         : tr("No conferences. Create one with “New conference”."));
    m_empty->setVisible(empty && page > 0);

    const TqConfSummary c = m_directory->conference(selectedId());
    const bool open = !c.id.isEmpty() && c.state != TqConfCode::Ended && list != List::History;
    const bool own = c.creator == m_directory->account();
    m_join->setEnabled(open);
    m_join->setVisible(list != List::History);
    m_edit->setVisible(list != List::History);
    m_cancel->setVisible(list != List::History);
    m_edit->setEnabled(open && own && c.state == TqConfCode::NotStarted);
    m_cancel->setEnabled(open && own && c.state == TqConfCode::NotStarted);
}
