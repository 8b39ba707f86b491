#pragma once

#include "tq_mainui_export.h"

#include <QStyledItemDelegate>

// Paints a contact row: initials badge, name, presence dot and words, signature. Every size
// comes from the font, so rows scale with it.
class TQ_MAINUI_EXPORT ContactDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
