#include "MessageDelegate.h"

#include "ChatText.h"
#include "MessageListModel.h"

#include <TqAvatar.h>

#include <QAbstractItemView>
#include <QCache>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QTextLayout>

#include <cmath>

namespace {

const QColor kOwnBubble(0xd6, 0xea, 0xfc);
const QColor kPeerBubble(0xee, 0xf1, 0xf4);
const QColor kMuted(0x68, 0x76, 0x84);
const QColor kAccent(0x1e, 0x88, 0xe5);
const QColor kError(0xb3, 0x26, 0x1e);
const QColor kTrack(0xc9, 0xd3, 0xdd);

struct Metrics
{
    int line;
    int pad;
    int avatar;
    int gap;
    int hpad; // inside a bubble
    int vpad;
    int radius;
};

Metrics metricsFor(const QFontMetrics &fm)
{
    const int line = fm.height();
    return Metrics{line, line / 2, line * 2, line / 2, line * 6 / 10, line * 4 / 10, line / 2};
}

struct Wrapped
{
    QStringList lines;
    int width = 0;
};

// A text broken into lines of at most `width`, at word boundaries where it can; with
// `maxLines`, the last line shown is elided.
Wrapped wrap(const QString &text, const QFont &font, int width, int maxLines = 0)
{
    static QCache<QString, Wrapped> cache(2000);
    const QString cacheKey
        = QStringLiteral("%1|%2|%3|").arg(font.key()).arg(width).arg(maxLines) + text;
    if (const Wrapped *hit = cache.object(cacheKey))
        return *hit;

    QString flowing = text;
    flowing.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(flowing, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    Wrapped result;
    const QFontMetrics fm(font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (maxLines > 0 && result.lines.size() == maxLines - 1) {
            QString rest = flowing.mid(line.textStart());
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            const QString shown = fm.elidedText(rest, Qt::ElideRight, width);
            result.lines << shown;
            result.width = qMax(result.width, fm.horizontalAdvance(shown));
            break;
        }
        QString part = flowing.mid(line.textStart(), line.textLength());
        part.remove(QChar::LineSeparator);
        result.lines << part;
        result.width = qMax(result.width, int(std::ceil(line.naturalTextWidth())));
    }
    layout.endLayout();
    if (result.lines.isEmpty())
        result.lines << QString();
    result.width = qMin(result.width, width);
    cache.insert(cacheKey, new Wrapped(result));
    return result;
}

QFont boldOf(const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    return bold;
}

QFont smallOf(const QFont &font)
{
    QFont small = font;
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.85);
    else
        small.setPixelSize(qMax(8, small.pixelSize() * 85 / 100));
    return small;
}

QString bodyText(const ChatMessage &m)
{
    return m.kind == ChatMessage::Kind::Text ? m.text : ChatText::unsupported();
}

QFont textFont(const ChatMessage &m, const QFont &font)
{
    QFont shown = font;
    shown.setItalic(m.kind == ChatMessage::Kind::Unsupported);
    return shown;
}

bool hasProgress(const ChatMessage &m)
{
    return m.transfer == ChatMessage::Transfer::Running
        && (m.kind == ChatMessage::Kind::File || m.kind == ChatMessage::Kind::Picture);
}

bool isWebLink(const QString &url)
{
    return url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)
        || url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive);
}

MessageDelegate::Action stateLineAction(const ChatMessage &m)
{
    using A = MessageDelegate::Action;
    if (m.canRetry())
        return A::Retry;
    if (m.canCancel())
        return A::Cancel;
    if (m.kind == ChatMessage::Kind::File && m.canDownload())
        return A::Download;
    if (m.kind == ChatMessage::Kind::File && m.hasLocalFile() && !m.withdrawn)
        return A::ShowInFolder;
    return A::None;
}

MessageDelegate::Action bubbleActionOf(const ChatMessage &m)
{
    using A = MessageDelegate::Action;
    switch (m.kind) {
    case ChatMessage::Kind::File:
        return m.canDownload() ? A::Download : m.hasLocalFile() ? A::ShowInFolder : A::None;
    case ChatMessage::Kind::Picture:
        return m.hasLocalFile() ? A::OpenPicture : m.canDownload() ? A::Download : A::None;
    case ChatMessage::Kind::Voice:
        return m.hasLocalFile() ? A::Play : m.canDownload() ? A::Download : A::None;
    case ChatMessage::Kind::LinkCard:
        return isWebLink(m.linkUrl) ? A::OpenLink : A::None;
    default:
        return A::None;
    }
}

// The state line: time, then the state of an own message or of a transfer.
QString stateLine(const ChatMessage &m)
{
    QStringList parts{ChatText::shortTime(m.time, QDateTime::currentDateTime())};
    const QString status = ChatText::status(m);
    if (!status.isEmpty())
        parts << status;
    if (m.transfer == ChatMessage::Transfer::Running && m.total > 0)
        parts << QStringLiteral("%1%").arg(qBound<qint64>(0, m.done * 100 / m.total, 100));
    return parts.join(QStringLiteral(" · "));
}

struct LinkCardText
{
    Wrapped title;
    Wrapped desc;
    QString url;
};

LinkCardText linkCardText(const ChatMessage &m, const QFont &font, int width)
{
    LinkCardText t;
    const QString title = m.linkTitle.isEmpty() ? m.linkUrl : m.linkTitle;
    t.title = wrap(title.simplified(), boldOf(font), width, 2);
    if (!m.linkDesc.isEmpty())
        t.desc = wrap(m.linkDesc.simplified(), font, width, 3);
    t.url = QFontMetrics(smallOf(font)).elidedText(m.linkUrl, Qt::ElideMiddle, width);
    return t;
}

void drawLines(QPainter *painter, const QStringList &lines, const QFont &font, const QPoint &at)
{
    const QFontMetrics fm(font);
    painter->setFont(font);
    for (int i = 0; i < lines.size(); ++i)
        painter->drawText(QPoint(at.x(), at.y() + i * fm.lineSpacing() + fm.ascent()), lines.at(i));
}

void drawProgress(QPainter *painter, const QRect &bar, const ChatMessage &m)
{
    const qreal r = bar.height() / 2.0;
    painter->setPen(Qt::NoPen);
    painter->setBrush(kTrack);
    painter->drawRoundedRect(bar, r, r);
    if (m.total <= 0)
        return;
    QRect filled = bar;
    filled.setWidth(int(qint64(bar.width()) * qBound<qint64>(0, m.done, m.total) / m.total));
    painter->setBrush(kAccent);
    painter->drawRoundedRect(filled, r, r);
}

QPixmap thumbnail(const QString &path, const QSize &size, qreal ratio)
{
    const QFileInfo info(path);
    const QString key = QStringLiteral("tqchat|%1|%2x%3|%4|%5")
                            .arg(path)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(ratio)
                            .arg(info.lastModified().toMSecsSinceEpoch());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setScaledSize(size * ratio);
    const QImage image = reader.read();
    if (image.isNull())
        return QPixmap();
    pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

MessageDelegate::MessageDelegate(QAbstractItemView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{ }

QString MessageDelegate::actionText(Action action)
{
    switch (action) {
    case Action::Retry:
        return tr("Retry");
    case Action::Cancel:
        return tr("Cancel");
    case Action::Download:
        return tr("Download");
    case Action::ShowInFolder:
        return tr("Show in folder");
    default:
        return QString();
    }
}

int MessageDelegate::viewWidth(const QStyleOptionViewItem &option) const
{
    if (m_view && m_view->viewport()->width() > 0)
        return m_view->viewport()->width();
    return option.rect.width();
}

QSize MessageDelegate::pictureSize(const ChatMessage &m, int line) const
{
    const QSize box(line * 12, line * 9);
    QSize size;
    if (m.hasLocalFile()) {
        auto it = m_imageSizes.find(m.localFile);
        if (it == m_imageSizes.end()) {
            QImageReader reader(m.localFile);
            reader.setAutoTransform(true);
            it = m_imageSizes.insert(m.localFile, reader.size());
        }
        size = it.value();
    }
    if (!size.isValid() || size.isEmpty())
        return QSize(line * 8, line * 6);
    return size
        .scaled(box.boundedTo(size.expandedTo(QSize(line * 3, line * 3))), Qt::KeepAspectRatio)
        .expandedTo(QSize(line * 2, line * 2));
}

MessageDelegate::Layout MessageDelegate::layout(const QStyleOptionViewItem &option,
                                                const ChatMessage &m) const
{
    const QFontMetrics fm = option.fontMetrics;
    const Metrics k = metricsFor(fm);
    const QRect row = option.rect;
    const int top = row.top() + k.pad / 2;
    Layout l;
    if (m.withdrawn || m.system) {
        l.meta = QRect(row.left() + k.pad, top, qMax(0, row.width() - 2 * k.pad), k.line);
        l.height = k.line + k.pad;
        return l;
    }

    const int side = k.pad + k.avatar + k.gap;
    const int maxBubble = qMax(k.line * 6, qMin(row.width() - 2 * side - k.line, k.line * 28));
    int hpad = k.hpad;
    int vpad = k.vpad;
    QSize content;
    switch (m.kind) {
    case ChatMessage::Kind::Text:
    case ChatMessage::Kind::Unsupported: {
        l.wrapWidth = maxBubble - 2 * hpad;
        const Wrapped w = wrap(bodyText(m), textFont(m, option.font), l.wrapWidth);
        content = QSize(qMax(w.width, k.line / 2), w.lines.size() * fm.lineSpacing());
        break;
    }
    case ChatMessage::Kind::File:
        content = QSize(qMin(maxBubble - 2 * hpad, k.line * 15), k.line * 2);
        if (hasProgress(m))
            content.rheight() += k.line / 2;
        break;
    case ChatMessage::Kind::Picture:
        hpad = vpad = qMax(2, k.line / 6);
        content = pictureSize(m, k.line);
        break;
    case ChatMessage::Kind::Voice: {
        const int seconds = m.voiceMs > 0 ? qMin(60, (m.voiceMs + 999) / 1000) : 1;
        content = QSize(k.line * 3 + seconds * k.line / 6, k.line);
        break;
    }
    case ChatMessage::Kind::LinkCard: {
        const int width = qMin(maxBubble - 2 * hpad, k.line * 16);
        const LinkCardText t = linkCardText(m, option.font, width);
        const int small = QFontMetrics(smallOf(option.font)).lineSpacing();
        content = QSize(width,
                        t.title.lines.size() * QFontMetrics(boldOf(option.font)).lineSpacing()
                            + (m.linkDesc.isEmpty() ? 0 : t.desc.lines.size() * fm.lineSpacing())
                            + k.line / 4 + small);
        break;
    }
    }

    const QSize bubble(content.width() + 2 * hpad, content.height() + 2 * vpad);
    if (m.outgoing) {
        l.avatar = QRect(row.right() - k.pad - k.avatar + 1, top, k.avatar, k.avatar);
        l.bubble = QRect(QPoint(row.right() - side - bubble.width() + 1, top), bubble);
    } else {
        l.avatar = QRect(row.left() + k.pad, top, k.avatar, k.avatar);
        int bubbleTop = top;
        if (!m.senderName.isEmpty()) {
            const int nameHeight = QFontMetrics(smallOf(option.font)).lineSpacing();
            l.sender = QRect(row.left() + side, top, qMax(0, row.width() - 2 * side), nameHeight);
            bubbleTop += nameHeight + k.line / 8;
        }
        l.bubble = QRect(QPoint(row.left() + side, bubbleTop), bubble);
    }
    l.content = l.bubble.adjusted(hpad, vpad, -hpad, -vpad);
    if (hasProgress(m)) {
        const int h = qMax(3, k.line / 5);
        l.progress = m.kind == ChatMessage::Kind::Picture
            ? QRect(l.content.left() + k.line / 3, l.content.bottom() - k.line / 3 - h,
                    l.content.width() - 2 * (k.line / 3), h)
            : QRect(l.content.left(), l.content.bottom() - h + 1, l.content.width(), h);
    }
    l.bubbleAction = bubbleActionOf(m);

    // The state line under the bubble, with its action at the end.
    l.linkAction = stateLineAction(m);
    const QString info = stateLine(m);
    const QString act = actionText(l.linkAction);
    const int actWidth = act.isEmpty() ? 0 : fm.horizontalAdvance(act);
    const int gap = act.isEmpty() ? 0 : k.line / 2;
    // A pixel or two to spare: advances are rounded, eliding is not.
    const int slack = k.line / 8 + 1;
    const int width = qMin(fm.horizontalAdvance(info) + slack + gap + actWidth,
                           qMax(0, row.width() - 2 * side));
    const int y = l.bubble.bottom() + 1 + k.line / 8;
    const int x = m.outgoing ? l.bubble.right() - width + 1 : l.bubble.left();
    l.meta = QRect(x, y, width, k.line);
    if (!act.isEmpty())
        l.link = QRect(l.meta.right() - actWidth + 1, y, actWidth, k.line);
    l.height = qMax(l.meta.bottom(), l.avatar.bottom()) - row.top() + 1 + k.pad / 2;
    return l;
}

QSize MessageDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    opt.rect = QRect(0, 0, viewWidth(option), 0);
    const ChatMessage m = index.data(MessageListModel::MessageRole).value<ChatMessage>();
    return QSize(opt.rect.width(), layout(opt, m).height);
}

void MessageDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    const ChatMessage m = index.data(MessageListModel::MessageRole).value<ChatMessage>();
    const Layout l = layout(option, m);
    const QFontMetrics fm = option.fontMetrics;
    const Metrics k = metricsFor(fm);
    const QColor text = option.palette.color(QPalette::Text);
    const QString peerName = index.data(MessageListModel::PeerNameRole).toString();

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setFont(option.font);

    if (m.system) {
        painter->setPen(kMuted);
        painter->drawText(l.meta, Qt::AlignCenter,
                          fm.elidedText(m.text.simplified(), Qt::ElideRight, l.meta.width()));
        painter->restore();
        return;
    }
    if (m.withdrawn) {
        painter->setPen(kMuted);
        const QString note = ChatText::withdrawn(m, peerName) + QStringLiteral("  ")
            + ChatText::shortTime(m.time, QDateTime::currentDateTime());
        painter->drawText(l.meta, Qt::AlignCenter,
                          fm.elidedText(note, Qt::ElideRight, l.meta.width()));
        painter->restore();
        return;
    }

    const QString name = m.outgoing ? index.data(MessageListModel::OwnNameRole).toString()
        : m.senderName.isEmpty()    ? peerName
                                    : m.senderName;
    TqAvatar::paint(painter, l.avatar, TqAvatar::initialsOf(name.isEmpty() ? m.sender : name),
                    TqAvatar::colorOf(m.outgoing || !m.senderName.isEmpty() ? m.sender : m.peer));
    if (!l.sender.isEmpty()) {
        const QFont small = smallOf(option.font);
        painter->setFont(small);
        painter->setPen(kMuted);
        painter->drawText(
            l.sender, Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetrics(small).elidedText(m.senderName, Qt::ElideRight, l.sender.width()));
        painter->setFont(option.font);
    }

    const qreal radius = k.radius;
    painter->setPen(Qt::NoPen);
    painter->setBrush(m.outgoing ? kOwnBubble : kPeerBubble);
    painter->drawRoundedRect(l.bubble, radius, radius);

    const QRect c = l.content;
    switch (m.kind) {
    case ChatMessage::Kind::Text:
    case ChatMessage::Kind::Unsupported: {
        const QFont font = textFont(m, option.font);
        painter->setPen(m.kind == ChatMessage::Kind::Text ? text : kMuted);
        drawLines(painter, wrap(bodyText(m), font, l.wrapWidth).lines, font, c.topLeft());
        break;
    }
    case ChatMessage::Kind::File: {
        const int icon = k.line * 2;
        const QRect badge(c.left(), c.top(), icon, icon);
        painter->setBrush(kAccent);
        painter->drawRoundedRect(badge, radius / 2, radius / 2);
        QString suffix = QFileInfo(m.fileName).suffix().toUpper().left(4);
        if (suffix.isEmpty())
            suffix = QStringLiteral("•");
        QFont badgeFont = smallOf(boldOf(option.font));
        painter->setFont(badgeFont);
        painter->setPen(Qt::white);
        painter->drawText(badge, Qt::AlignCenter,
                          QFontMetrics(badgeFont).elidedText(suffix, Qt::ElideRight, icon));
        const int left = badge.right() + k.line / 2;
        const QRect nameRect(left, c.top(), c.right() - left + 1, k.line);
        const QFont bold = boldOf(option.font);
        painter->setFont(bold);
        painter->setPen(text);
        painter->drawText(
            nameRect, Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetrics(bold).elidedText(m.fileName, Qt::ElideMiddle, nameRect.width()));
        painter->setFont(option.font);
        painter->setPen(kMuted);
        QString detail = ChatText::size(m.fileSize);
        if (!m.outgoing && m.transfer == ChatMessage::Transfer::Done)
            detail = tr("%1 · Downloaded").arg(detail);
        const QRect detailRect(left, c.top() + k.line, nameRect.width(), k.line);
        painter->drawText(detailRect, Qt::AlignLeft | Qt::AlignVCenter,
                          fm.elidedText(detail, Qt::ElideRight, detailRect.width()));
        break;
    }
    case ChatMessage::Kind::Picture: {
        const QPixmap pixmap = m.hasLocalFile()
            ? thumbnail(m.localFile, c.size(), painter->device()->devicePixelRatioF())
            : QPixmap();
        if (!pixmap.isNull()) {
            QPainterPath clip;
            clip.addRoundedRect(c, radius / 2, radius / 2);
            painter->setClipPath(clip);
            painter->drawPixmap(c, pixmap);
            painter->setClipping(false);
        } else {
            painter->setBrush(option.palette.color(QPalette::Base));
            painter->drawRoundedRect(c, radius / 2, radius / 2);
            painter->setPen(kMuted);
            painter->drawText(c, Qt::AlignCenter | Qt::TextWordWrap,
                              m.transfer == ChatMessage::Transfer::Failed ? tr("Picture not loaded")
                                                                          : tr("Picture"));
        }
        break;
    }
    case ChatMessage::Kind::Voice: {
        const int h = k.line;
        const QRect icon(c.left(), c.top(), h, h);
        painter->setBrush(m.outgoing ? kAccent : kMuted);
        painter->setPen(Qt::NoPen);
        if (m.playing) {
            const int s = h * 5 / 10;
            painter->drawRoundedRect(QRect(icon.center() - QPoint(s / 2, s / 2), QSize(s, s)), 1,
                                     1);
        } else {
            const qreal s = h * 0.6;
            const QPointF o(icon.left() + (h - s) / 2 + s * 0.1, icon.top() + (h - s) / 2);
            const QPointF tri[3] = {o, o + QPointF(0, s), o + QPointF(s * 0.9, s / 2)};
            painter->drawPolygon(tri, 3);
        }
        const QString length
            = m.voiceMs >= 0 ? ChatText::voiceLength(m.voiceMs) : QStringLiteral("…");
        painter->setPen(text);
        const int lengthWidth = fm.horizontalAdvance(length);
        painter->drawText(QRect(c.right() - lengthWidth + 1, c.top(), lengthWidth, h),
                          Qt::AlignRight | Qt::AlignVCenter, length);
        // A few bars, so that the bubble reads as sound.
        painter->setPen(Qt::NoPen);
        painter->setBrush(m.playing ? kAccent : kTrack);
        const int barsLeft = icon.right() + h / 3;
        const int barsRight = c.right() - lengthWidth - h / 3;
        const int step = qMax(3, h / 4);
        static const int heights[] = {3, 6, 9, 5, 8, 4, 7, 10, 6, 3, 8, 5};
        for (int x = barsLeft, i = 0; x + step / 2 < barsRight; x += step, ++i) {
            const int bar = qMax(2, h * heights[i % 12] / 12);
            painter->drawRoundedRect(QRect(x, c.top() + (h - bar) / 2, qMax(1, step / 2), bar), 1,
                                     1);
        }
        break;
    }
    case ChatMessage::Kind::LinkCard: {
        const LinkCardText t = linkCardText(m, option.font, c.width());
        const QFont bold = boldOf(option.font);
        painter->setPen(text);
        drawLines(painter, t.title.lines, bold, c.topLeft());
        int y = c.top() + t.title.lines.size() * QFontMetrics(bold).lineSpacing();
        if (!m.linkDesc.isEmpty()) {
            painter->setPen(kMuted);
            drawLines(painter, t.desc.lines, option.font, QPoint(c.left(), y));
            y += t.desc.lines.size() * fm.lineSpacing();
        }
        y += k.line / 4;
        painter->setPen(kAccent);
        drawLines(painter, {t.url}, smallOf(option.font), QPoint(c.left(), y));
        break;
    }
    }

    if (!l.progress.isEmpty())
        drawProgress(painter, l.progress, m);

    painter->setFont(option.font);
    const QString info = stateLine(m);
    const int infoWidth = l.link.isEmpty() ? l.meta.width() : l.link.left() - l.meta.left();
    painter->setPen(m.status == ChatMessage::Status::Failed && m.reason != ChatReason::Cancelled
                        ? kError
                        : kMuted);
    painter->drawText(QRect(l.meta.left(), l.meta.top(), infoWidth, l.meta.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      fm.elidedText(info, Qt::ElideRight, infoWidth));
    if (!l.link.isEmpty()) {
        painter->setPen(kAccent);
        painter->drawText(l.link, Qt::AlignLeft | Qt::AlignVCenter, actionText(l.linkAction));
    }
    painter->restore();
}

MessageDelegate::Action MessageDelegate::actionAt(const QStyleOptionViewItem &option,
                                                  const QModelIndex &index,
                                                  const QPoint &point) const
{
    const ChatMessage m = index.data(MessageListModel::MessageRole).value<ChatMessage>();
    const Layout l = layout(option, m);
    if (!l.link.isEmpty() && l.link.contains(point))
        return l.linkAction;
    if (l.bubble.contains(point))
        return l.bubbleAction;
    return Action::None;
}

QRect MessageDelegate::actionRect(const QStyleOptionViewItem &option, const QModelIndex &index,
                                  Action action) const
{
    if (action == Action::None)
        return QRect();
    const ChatMessage m = index.data(MessageListModel::MessageRole).value<ChatMessage>();
    const Layout l = layout(option, m);
    if (l.linkAction == action)
        return l.link;
    if (l.bubbleAction == action)
        return l.bubble;
    return QRect();
}
