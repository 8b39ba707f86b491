#pragma once

#include "tq_whiteboardui_export.h"

#include <QWidget>

class TqBoardState;

// The drawing surface: the native window the whiteboard library draws into. It hands the
// library its handle and size, and forwards its mouse messages; the library paints it.
class TQ_WHITEBOARDUI_EXPORT TqBoardSurface : public QWidget
{
    Q_OBJECT
public:
    explicit TqBoardSurface(TqBoardState *state, QWidget *parent = nullptr);
    ~TqBoardSurface() override;

    // Binds the surface while its state is in a room, else unbinds it.
    void sync();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void forward(unsigned msg, QMouseEvent *event);

    TqBoardState *m_state;
    bool m_pressed = false;
};
