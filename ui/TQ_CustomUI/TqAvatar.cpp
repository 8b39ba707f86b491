#include "TqAvatar.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextBoundaryFinder>

#include <cmath>

namespace {
// The first user-perceived character of `word`, so that a surrogate pair or a base letter
// with its accent stays whole.
QString firstCharacter(const QString &word)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    const int end = finder.toNextBoundary();
    return word.left(end > 0 ? end : 1);
}
} // namespace

TqAvatar::TqAvatar(QWidget *parent)
    : QWidget(parent)
    , m_color(colorOf(QString()))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TqAvatar::setDiameterInLines(double lines)
{
    m_lines = lines;
    updateGeometry();
    update();
}

void TqAvatar::setPerson(const QString &user, const QString &name)
{
    m_initials = initialsOf(name.isEmpty() ? user : name);
    m_color = colorOf(user);
    setToolTip(name.isEmpty() ? user : name);
    update();
}

QSize TqAvatar::sizeHint() const
{
    const int side = int(std::ceil(fontMetrics().height() * m_lines));
    return QSize(side, side);
}

QString TqAvatar::initialsOf(const QString &name)
{
    const QStringList words = name.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString result;
    for (int i = 0; i < words.size() && i < 2; ++i)
        result += firstCharacter(words.at(i)).toUpper();
    return result;
}

QColor TqAvatar::colorOf(const QString &user)
{
    // A small fixed palette, picked by a hash that does not change between runs.
    static const QColor palette[] = {
        QColor(0x1e, 0x88, 0xe5), QColor(0x43, 0xa0, 0x47), QColor(0x8e, 0x24, 0xaa),
        QColor(0xf4, 0x51, 0x1e), QColor(0x00, 0x89, 0x7b), QColor(0x5e, 0x35, 0xb1),
        QColor(0xc0, 0xca, 0x33), QColor(0x6d, 0x4c, 0x41),
    };
    uint hash = 5381;
    for (const QChar c : user)
        hash = hash * 33 + c.unicode();
    return palette[hash % (sizeof palette / sizeof palette[0])];
}

void TqAvatar::paint(QPainter *painter, const QRect &rect, const QString &initials,
                     const QColor &color)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    painter->drawEllipse(rect);
    QFont font = painter->font();
    font.setBold(true);
    // Two letters fill about half of the badge.
    font.setPixelSize(qMax(1, int(rect.height() * 0.38)));
    painter->setFont(font);
    painter->setPen(Qt::white);
    painter->drawText(rect, Qt::AlignCenter, initials);
    painter->restore();
}

void TqAvatar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int side = qMin(width(), height());
    const QRect square((width() - side) / 2, (height() - side) / 2, side, side);
    paint(&painter, square, m_initials, m_color);
}
