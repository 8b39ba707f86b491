#pragma once

#include <QStyledItemDelegate>

// A member row: initials, the name with "(you)" and "owner", and beneath it the state and
// setting; the one who holds the microphone is marked in green.
class TqMeetingMemberDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
