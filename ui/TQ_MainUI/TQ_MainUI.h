#pragma once

#include "tq_mainui_export.h"

#include <QList>
#include <QObject>

class TQ_MAINUI_EXPORT TQ_MainUI : public QObject
{
    Q_OBJECT
public:
    TQ_MainUI();

    // The launcher's single-instance handle; held for the life of the program.
    void setHandle(void *handle);
    void *handle() const { return m_handle; }

    // Every main-window object created so far, oldest first.
    static QList<TQ_MainUI *> instances();

private:
    void *m_handle = nullptr;
};
