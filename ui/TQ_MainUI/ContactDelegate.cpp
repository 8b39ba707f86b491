#include "ContactDelegate.h"

#include "ContactListModel.h"

#include <TqAvatar.h>
#include <TqPresence.h>

#include <QApplication>
#include <QPainter>

namespace {
struct Metrics
{
    int line; // one text line
    int pad;
    int avatar;
};

Metrics metricsFor(const QStyleOptionViewItem &option)
{
    const int line = option.fontMetrics.height();
    return Metrics{line, line / 2, int(line * 2.4)};
}
} // namespace

void ContactDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
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
    const QString user = index.data(ContactListModel::UserRole).toString();
    const QString name = index.data(ContactListModel::DisplayNameRole).toString();
    const int presence = index.data(ContactListModel::PresenceRole).toInt();

    const QRect badge(row.left(), row.top() + (row.height() - m.avatar) / 2, m.avatar, m.avatar);
    TqAvatar::paint(painter, badge, TqAvatar::initialsOf(name), TqAvatar::colorOf(user));

    // A dot on the badge's edge, as chat clients show presence.
    const int dot = qMax(4, m.line / 2);
    const QRect dotRect(badge.right() - dot + 1, badge.bottom() - dot + 1, dot, dot);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(option.palette.color(QPalette::Base), qMax(1.0, dot / 5.0)));
    painter->setBrush(TqPresence::color(presence));
    painter->drawEllipse(dotRect);
    painter->restore();

    const int textLeft = badge.right() + m.pad + m.pad / 2;
    const QRect text(textLeft, row.top() + (row.height() - 2 * m.line) / 2, row.right() - textLeft,
                     2 * m.line);
    const QColor muted = option.palette.color(QPalette::PlaceholderText);

    painter->save();
    const QString presenceText = index.data(ContactListModel::PresenceTextRole).toString();
    const QFontMetrics fm = option.fontMetrics;
    const int presenceWidth
        = qMin(fm.horizontalAdvance(presenceText), qMax(text.width() * 2 / 5, m.line));
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(option.palette.color(QPalette::Text));
    const QRect nameRect(text.left(), text.top(), text.width() - presenceWidth - m.pad, m.line);
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(bold).elidedText(name, Qt::ElideRight, nameRect.width()));

    painter->setFont(option.font);
    painter->setPen(TqPresence::color(presence).darker(125));
    const QRect presenceRect(text.right() - presenceWidth, text.top(), presenceWidth, m.line);
    painter->drawText(presenceRect, Qt::AlignRight | Qt::AlignVCenter,
                      fm.elidedText(presenceText, Qt::ElideRight, presenceWidth));

    QString second = index.data(ContactListModel::SignatureRole).toString();
    if (second.isEmpty())
        second = user;
    painter->setPen(muted);
    const QRect secondRect(text.left(), text.top() + m.line, text.width(), m.line);
    painter->drawText(secondRect, Qt::AlignLeft | Qt::AlignVCenter,
                      fm.elidedText(second, Qt::ElideRight, secondRect.width()));
    painter->restore();
}

QSize ContactDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const Metrics m = metricsFor(option);
    return QSize(m.avatar * 6, qMax(m.avatar, 2 * m.line) + 2 * m.pad);
}
