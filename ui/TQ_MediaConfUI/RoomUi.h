#pragma once

#include "tq_mediaconfui_export.h"

#include <QObject>
#include <QPointer>

class QWidget;
class TqRoomState;
class TqRoomWindow;

// Room video: the room state fed by Vidyo_Agent and its window, which opens on
// TqClientContext::requestFeature(TqFeature::roomVideo()) while a user is logged in. Logging
// out leaves the room and closes the window.
class TQ_MEDIACONFUI_EXPORT TqRoomUi : public QObject
{
    Q_OBJECT
public:
    explicit TqRoomUi(QObject *parent = nullptr);
    ~TqRoomUi() override;

    TqRoomState *state() const { return m_state; }
    // The window while it exists (null otherwise).
    TqRoomWindow *window() const;

public slots:
    void showWindow();

private:
    TqRoomState *m_state;
    QPointer<TqRoomWindow> m_window;
};
