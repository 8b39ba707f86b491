#include "TQ_AppCenter.h"

#include "AppCatalog.h"

#include <TqAvatar.h>
#include <TqCallLog.h>
#include <TqClientContext.h>

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QWidget>

namespace {
// A feature as a tile: a lettered badge, the name, what it does, and whether it is there.
// Sizes come from the font.
class FeatureDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

        const int line = option.fontMetrics.height();
        const int pad = line / 2;
        const QRect row = option.rect.adjusted(pad, pad, -pad, -pad);
        const bool available = index.data(AppCatalog::AvailableRole).toBool();
        const QString name = index.data(AppCatalog::NameRole).toString();
        const int side = line * 2;
        const QRect badge(row.left(), row.top() + (row.height() - side) / 2, side, side);
        TqAvatar::paint(painter, badge, TqAvatar::initialsOf(name),
                        available ? TqAvatar::colorOf(index.data(AppCatalog::IdRole).toString())
                                  : option.palette.color(QPalette::Mid));

        const QColor muted = option.palette.color(QPalette::PlaceholderText);
        const int left = badge.right() + pad * 3 / 2;
        const int top = row.top() + (row.height() - 2 * line) / 2;
        const QString status = index.data(AppCatalog::StatusRole).toString();
        const int statusWidth = option.fontMetrics.horizontalAdvance(status);
        painter->save();
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(available ? option.palette.color(QPalette::Text) : muted);
        painter->drawText(QRect(left, top, row.right() - left - statusWidth - pad, line),
                          Qt::AlignLeft | Qt::AlignVCenter, name);
        painter->setFont(option.font);
        painter->setPen(muted);
        painter->drawText(QRect(row.right() - statusWidth, top, statusWidth, line),
                          Qt::AlignRight | Qt::AlignVCenter, status);
        const QRect second(left, top + line, row.right() - left, line);
        painter->drawText(
            second, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data(AppCatalog::SummaryRole).toString(),
                                          Qt::ElideRight, second.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        const int line = option.fontMetrics.height();
        return QSize(line * 16, line * 3);
    }
};
} // namespace

TQ_AppCenter *TQ_AppCenter::ins = nullptr;

TQ_AppCenter::TQ_AppCenter()
    : m_catalog(new AppCatalog(this))
    , m_window(new QWidget)
    , m_list(new QListView(m_window))
{
    m_window->setObjectName(QStringLiteral("appCenterWindow"));
    m_window->setWindowTitle(tr("Apps – Solvane"));
    auto *title = new QLabel(tr("Apps"), m_window);
    title->setProperty("role", QByteArray("title"));
    auto *note = new QLabel(tr("Double-click a feature to open it. Those marked \"coming later\" "
                               "are not in this version yet."),
                            m_window);
    note->setProperty("role", QByteArray("muted"));
    note->setWordWrap(true);

    m_list->setObjectName(QStringLiteral("featureList"));
    m_list->setModel(m_catalog);
    m_list->setItemDelegate(new FeatureDelegate(m_list));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_list, &QListView::activated, this, &TQ_AppCenter::open);

    auto *layout = new QVBoxLayout(m_window);
    const int gap = m_window->fontMetrics().height();
    layout->setContentsMargins(gap, gap, gap, gap);
    layout->addWidget(title);
    layout->addWidget(note);
    layout->addWidget(m_list, 1);
    const QFontMetrics fm = m_window->fontMetrics();
    m_window->resize(fm.averageCharWidth() * 60, fm.height() * 31);

    TqClientContext *context = TqClientContext::instance();
    connect(context, &TqClientContext::featureRequested, this, [this](const QString &feature) {
        if (feature == TqFeature::appCenter())
            show();
    });
    // The features belong to the session: the window goes with it.
    connect(context, &TqClientContext::loggedOut, m_window, &QWidget::hide);
}

TQ_AppCenter *TQ_AppCenter::instance()
{
    TqCallLog::add(QStringLiteral("TQ_AppCenter::instance"));
    if (!ins)
        ins = new TQ_AppCenter;
    return ins;
}

void TQ_AppCenter::show()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void TQ_AppCenter::open(const QModelIndex &index)
{
    if (!index.data(AppCatalog::AvailableRole).toBool())
        return;
    TqClientContext::instance()->requestFeature(index.data(AppCatalog::IdRole).toString());
}
