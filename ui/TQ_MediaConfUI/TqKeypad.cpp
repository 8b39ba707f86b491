#include "TqKeypad.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>

TqKeypad::TqKeypad(QWidget *parent)
    : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    const QString keys = QStringLiteral("123456789*0#");
    const int side = fontMetrics().height() * 5 / 2;
    for (int i = 0; i < keys.size(); ++i) {
        const QChar digit = keys.at(i);
        auto *button = new QPushButton(QString(digit), this);
        button->setObjectName(keyName(digit));
        button->setMinimumSize(side * 3 / 2, side);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, digit] { emit digitPressed(digit); });
        grid->addWidget(button, i / 3, i % 3);
    }
    setFocusPolicy(Qt::StrongFocus);
}

QString TqKeypad::keyName(QChar digit)
{
    if (digit == QLatin1Char('*'))
        return QStringLiteral("key_star");
    if (digit == QLatin1Char('#'))
        return QStringLiteral("key_hash");
    return QStringLiteral("key_") + digit;
}

void TqKeypad::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (text.size() == 1 && QStringLiteral("0123456789*#").contains(text.at(0))) {
        emit digitPressed(text.at(0));
        return;
    }
    QWidget::keyPressEvent(event);
}
