#pragma once

#include "tq_customui_export.h"

#include <QColor>
#include <QString>
#include <QWidget>

class QPainter;
class QRect;

// A round badge with a person's initials, sized from the font so that it scales with it.
class TQ_CUSTOMUI_EXPORT TqAvatar : public QWidget
{
    Q_OBJECT
public:
    explicit TqAvatar(QWidget *parent = nullptr);

    // `lines`: the badge's diameter in text lines of the widget's font.
    void setDiameterInLines(double lines);
    void setPerson(const QString &user, const QString &name);
    QString initials() const { return m_initials; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // "Bob Li" -> "BL", "carol" -> "C", "张三" -> "张": the first letters of the first two words.
    static QString initialsOf(const QString &name);
    // A colour of its own for each user, the same on every run.
    static QColor colorOf(const QString &user);
    // Paints a badge into `rect` (also used by list delegates).
    static void paint(QPainter *painter, const QRect &rect, const QString &initials,
                      const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_lines = 2.5;
    QString m_initials;
    QColor m_color;
};
