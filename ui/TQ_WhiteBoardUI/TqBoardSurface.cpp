#include "TqBoardSurface.h"

#include "TqBoardCodes.h"
#include "TqBoardState.h"

#include <QMouseEvent>
#include <QPainter>

using namespace TqBoardCode;

TqBoardSurface::TqBoardSurface(TqBoardState *state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("boardSurface"));
    setAttribute(Qt::WA_StyledBackground);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setMinimumSize(fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 20);
    connect(state, &TqBoardState::changed, this, &TqBoardSurface::sync);
}

TqBoardSurface::~TqBoardSurface()
{
    // The library must not keep a handle that is going away.
    m_state->bindSurface(nullptr, QRect());
}

void TqBoardSurface::sync()
{
    const bool inRoom = m_state->phase() == TqBoardState::Phase::InRoom;
    m_state->bindSurface(inRoom ? static_cast<void *>(this) : nullptr, inRoom ? rect() : QRect());
    update();
}

void TqBoardSurface::paintEvent(QPaintEvent *)
{
    // Shown only while the library does not paint here: outside a room.
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
               tr("Create a room or join one to start drawing together."));
}

void TqBoardSurface::resizeEvent(QResizeEvent *)
{
    sync();
}

void TqBoardSurface::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    forward(MsgLeftDown, event);
}

void TqBoardSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed)
        forward(MsgMouseMove, event);
}

void TqBoardSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    forward(MsgLeftUp, event);
    m_state->noteOwnStroke();
}

void TqBoardSurface::forward(unsigned msg, QMouseEvent *event)
{
    const unsigned buttons = (event->buttons() & Qt::LeftButton) ? MsgLeftButton : 0;
    m_state->forwardMessage(this, msg, buttons, packPoint(event->x(), event->y()));
}
