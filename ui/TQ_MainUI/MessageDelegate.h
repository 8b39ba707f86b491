#pragma once

#include "ChatMessage.h"
#include "tq_mainui_export.h"

#include <QCoreApplication>
#include <QHash>
#include <QStyledItemDelegate>

class QAbstractItemView;

// Paints a conversation's messages as bubbles (own on the right), with the time and state
// under each, and tells which of a message's actions a point hits. Sizes follow the font.
class TQ_MAINUI_EXPORT MessageDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    enum class Action {
        None,
        Retry,
        Cancel,
        Download,
        ShowInFolder,
        OpenPicture,
        Play, // or stop, while playing
        OpenLink,
    };
    Q_ENUM(Action)

    // Where a message's parts go in its row.
    struct Layout
    {
        QRect avatar;
        QRect sender; // the writer's name over a group message from someone else
        QRect bubble;
        QRect content;
        QRect progress; // a transfer's bar, empty when none runs
        QRect meta; // time and state
        QRect link; // the action named in the state line
        Action linkAction = Action::None;
        Action bubbleAction = Action::None; // clicking the bubble
        int wrapWidth = 0; // the width a text is broken to
        int height = 0;
    };

    explicit MessageDelegate(QAbstractItemView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    Layout layout(const QStyleOptionViewItem &option, const ChatMessage &m) const;
    Action actionAt(const QStyleOptionViewItem &option, const QModelIndex &index,
                    const QPoint &point) const;
    // The area that triggers `action` in the row, or an empty rectangle.
    QRect actionRect(const QStyleOptionViewItem &option, const QModelIndex &index,
                     Action action) const;

    // The words of the action the state line offers, as shown.
    static QString actionText(Action action);

private:
    QSize pictureSize(const ChatMessage &m, int line) const;
    int viewWidth(const QStyleOptionViewItem &option) const;

    QAbstractItemView *m_view;
    mutable QHash<QString, QSize> m_imageSizes; // picture file -> its size
};
