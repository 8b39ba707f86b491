#pragma once

#include "tq_whiteboardui_export.h"

#include <QObject>

class TqBoardState;
class TqWhiteBoardWindow;

// The shared whiteboard's window library. Its state follows the session (connected to the
// whiteboard server at login, out of the room at logout); the window opens when a window asks
// for TqFeature::whiteBoard() through the context.
class TQ_WHITEBOARDUI_EXPORT TQ_WhiteBoardUI : public QObject
{
    Q_OBJECT
public:
    TQ_WhiteBoardUI();
    ~TQ_WhiteBoardUI() override;

    // The first of them still alive (the one the shell made), or null.
    static TQ_WhiteBoardUI *instance();

    TqBoardState *state() const { return m_state; }
    // The window, built on first use.
    TqWhiteBoardWindow *window();
    void show();

private:
    void onLoggedIn();

    TqBoardState *m_state;
    TqWhiteBoardWindow *m_window = nullptr;
};
