#include "ConversationDelegate.h"

#include "ConversationListModel.h"

#include <TqAvatar.h>

#include <QApplication>
#include <QPainter>

namespace {
struct Metrics
{
    int line;
    int pad;
    int avatar;
};

Metrics metricsFor(const QStyleOptionViewItem &option)
{
    const int line = option.fontMetrics.height();
    return Metrics{line, line / 2, int(line * 2.4)};
}

const QColor kBadge(0xe5, 0x39, 0x35);
const QColor kError(0xb3, 0x26, 0x1e);
} // namespace

void ConversationDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const Metrics m = metricsFor(option);
    const QRect row = option.rect.adjusted(m.pad, m.pad, -m.pad, -m.pad);
    const QString peer = index.data(ConversationListModel::PeerRole).toString();
    const QString name = index.data(ConversationListModel::DisplayNameRole).toString();
    const int unread = index.data(ConversationListModel::UnreadRole).toInt();
    const QString time = index.data(ConversationListModel::TimeTextRole).toString();
    const QString preview = index.data(ConversationListModel::PreviewRole).toString();
    const bool failed = index.data(ConversationListModel::LastFailedRole).toBool();

    const QRect badge(row.left(), row.top() + (row.height() - m.avatar) / 2, m.avatar, m.avatar);
    TqAvatar::paint(painter, badge, TqAvatar::initialsOf(name), TqAvatar::colorOf(peer));

    const int left = badge.right() + m.pad + m.pad / 2;
    const QRect text(left, row.top() + (row.height() - 2 * m.line) / 2, row.right() - left,
                     2 * m.line);
    const QFontMetrics fm = option.fontMetrics;
    const QColor muted = option.palette.color(QPalette::PlaceholderText);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const int timeWidth = fm.horizontalAdvance(time);
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(option.palette.color(QPalette::Text));
    const QRect nameRect(text.left(), text.top(), text.width() - timeWidth - m.pad, m.line);
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(bold).elidedText(name, Qt::ElideRight, nameRect.width()));
    painter->setFont(option.font);
    painter->setPen(muted);
    painter->drawText(QRect(text.right() - timeWidth, text.top(), timeWidth, m.line),
                      Qt::AlignRight | Qt::AlignVCenter, time);

    // The unread count in a red pill at the end of the second line.
    int badgeWidth = 0;
    if (unread > 0) {
        const QString count = unread > 99 ? QStringLiteral("99+") : QString::number(unread);
        QFont small = bold;
        if (small.pointSizeF() > 0)
            small.setPointSizeF(small.pointSizeF() * 0.85);
        else
            small.setPixelSize(qMax(8, small.pixelSize() * 85 / 100));
        const QFontMetrics sfm(small);
        const int h = sfm.height();
        badgeWidth = qMax(h, sfm.horizontalAdvance(count) + h * 2 / 3);
        const QRect pill(text.right() - badgeWidth + 1, text.top() + m.line + (m.line - h) / 2,
                         badgeWidth, h);
        painter->setPen(Qt::NoPen);
        painter->setBrush(kBadge);
        painter->drawRoundedRect(pill, h / 2.0, h / 2.0);
        painter->setFont(small);
        painter->setPen(Qt::white);
        painter->drawText(pill, Qt::AlignCenter, count);
        painter->setFont(option.font);
    }
    const QString second = failed ? QStringLiteral("! ") + preview : preview;
    painter->setPen(failed ? kError : muted);
    const QRect previewRect(text.left(), text.top() + m.line,
                            text.width() - (badgeWidth ? badgeWidth + m.pad : 0), m.line);
    painter->drawText(previewRect, Qt::AlignLeft | Qt::AlignVCenter,
                      fm.elidedText(second, Qt::ElideRight, previewRect.width()));
    painter->restore();
}

QSize ConversationDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const Metrics m = metricsFor(option);
    return QSize(m.avatar * 6, qMax(m.avatar, 2 * m.line) + 2 * m.pad);
}
