#pragma once

#include <QWidget>

// Hands over to the window libraries: applies the suite's style and creates the window
// objects, which then run the program. Never shown; keeps no pointers to what it creates, and
// the objects outlive it.
class Solvane : public QWidget
{
    Q_OBJECT
public:
    // eventHandle: the single-instance event, null when several clients are allowed.
    explicit Solvane(void *eventHandle, QWidget *parent = nullptr);
    ~Solvane() override;
};
