#pragma once

#include "tq_mainui_export.h"

#include <QStyledItemDelegate>

// A conversation in the list: the peer's badge and name, the last message's time and
// preview, and a count of unread messages. Sizes follow the font.
class TQ_MAINUI_EXPORT ConversationDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
