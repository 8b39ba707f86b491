#pragma once

#include <QWidget>

// Twelve telephone keys (1-9, *, 0, #). Digits typed on the keyboard while it has focus count
// as presses too.
class TqKeypad : public QWidget
{
    Q_OBJECT
public:
    explicit TqKeypad(QWidget *parent = nullptr);

    // The key's button object name: "key_0".."key_9", "key_star", "key_hash".
    static QString keyName(QChar digit);

signals:
    void digitPressed(QChar digit);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
