#include "MeetingMemberDelegate.h"

#include "MeetingMembers.h"

#include <TqAvatar.h>

#include <QApplication>
#include <QPainter>

namespace {
const QColor kSpeaking(0x2e, 0x7d, 0x32);
const QColor kMuted(0x68, 0x76, 0x84);
} // namespace

namespace {
// The list's own font: the one the style sheet gives the view.
QFont baseFont(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->font() : option.font;
}
} // namespace

QSize TqMeetingMemberDelegate::sizeHint(const QStyleOptionViewItem &option,
                                        const QModelIndex &) const
{
    const QFontMetrics fm(baseFont(option));
    return QSize(fm.averageCharWidth() * 30, fm.height() * 3);
}

void TqMeetingMemberDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // The view's option turns line feeds into line separators.
    const QString display = QString(opt.text).replace(QChar::LineSeparator, QLatin1Char('\n'));
    opt.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    painter->save();
    const QFont base = baseFont(option);
    QFont bold = base;
    bold.setBold(true);
    painter->setFont(base);
    const QFontMetrics fm = painter->fontMetrics();
    const int pad = fm.averageCharWidth();
    const QRect r = option.rect.adjusted(pad, 0, -pad, 0);
    const int d = fm.height() * 2;
    const QRect badge(r.left(), r.top() + (r.height() - d) / 2, d, d);
    const QString account = index.data(TqMeetingMemberModel::AccountRole).toString();
    const QString name = index.data(TqMeetingMemberModel::NameRole).toString();
    const bool speaking = index.data(TqMeetingMemberModel::MicRole).toBool();
    painter->setRenderHint(QPainter::Antialiasing);
    TqAvatar::paint(painter, badge, TqAvatar::initialsOf(name), TqAvatar::colorOf(account));
    if (speaking) {
        painter->setPen(QPen(kSpeaking, qMax(2, fm.height() / 8)));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(badge.adjusted(-2, -2, 2, 2));
    }
    // The model's text: the name on the first line, the details on the second.
    const QString first = display.section(QLatin1Char('\n'), 0, 0);
    const QString second = display.section(QLatin1Char('\n'), 1);
    const int x = badge.right() + pad;
    const int width = r.right() - x;
    const int middle = r.top() + r.height() / 2;
    const bool selected = option.state & QStyle::State_Selected;
    painter->setFont(bold);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QPoint(x, middle - painter->fontMetrics().descent() - 1),
                      painter->fontMetrics().elidedText(first, Qt::ElideRight, width));
    painter->setFont(base);
    painter->setPen(speaking ? kSpeaking : kMuted);
    painter->drawText(QPoint(x, middle + fm.ascent() + 1),
                      fm.elidedText(second, Qt::ElideRight, width));
    painter->restore();
}
