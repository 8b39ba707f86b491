// The stand-in's video: on Linux the window handle is a QWidget, and the client paints one tile
// per participant (a coloured frame and the name) into the video rectangle, on the widget's
// thread.

#include "Client.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <cmath>

namespace vidyosim {

namespace {

struct Tile
{
    QString name;
    QString uri;
    bool self = false;
};

struct Frame
{
    QRect rect;
    bool inConference = false;
    bool cameraOff = false;
    bool micMuted = false;
    bool sharing = false;
    QString sharedWindow;
    QList<Tile> tiles;
};

QColor colourOf(const QString &uri)
{
    static const QColor palette[]
        = {QColor(0x4c, 0x6e, 0xf5), QColor(0x2f, 0x9e, 0x44), QColor(0xe6, 0x77, 0x00),
           QColor(0xae, 0x3e, 0xc9), QColor(0x10, 0x98, 0xad), QColor(0xe0, 0x31, 0x31)};
    return palette[qHash(uri) % (sizeof palette / sizeof palette[0])];
}

void paintTile(QPainter &p, const QRect &r, const Tile &t, const Frame &f)
{
    const QColor colour = colourOf(t.uri);
    const bool dark = t.self && f.cameraOff;
    p.fillRect(r, dark ? QColor(0x21, 0x25, 0x29) : colour.darker(260));
    p.setPen(QPen(colour, 4));
    p.drawRect(r.adjusted(2, 2, -2, -2));
    // A head and shoulders, as a camera would show someone.
    if (!dark) {
        const int unit = std::max(8, std::min(r.width(), r.height()) / 6);
        const QPoint c = r.center();
        p.setPen(Qt::NoPen);
        p.setBrush(colour.lighter(130));
        p.drawEllipse(QPoint(c.x(), c.y() - unit), unit, unit);
        p.drawChord(QRect(c.x() - 2 * unit, c.y() + unit / 2, 4 * unit, 3 * unit), 0, 180 * 16);
        p.setBrush(Qt::NoBrush);
    }
    QFont font = p.font();
    font.setPixelSize(std::max(11, std::min(18, r.height() / 12)));
    font.setBold(true);
    p.setFont(font);
    const QRect label(r.left() + 10, r.bottom() - font.pixelSize() * 2 - 6, r.width() - 20,
                      font.pixelSize() * 2);
    p.fillRect(label.adjusted(-4, 0, 4, 0), QColor(0, 0, 0, 120));
    p.setPen(Qt::white);
    QString text = t.name;
    if (t.self && f.micMuted)
        text += QStringLiteral("  \u00b7 mic off");
    p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(text, Qt::ElideRight, label.width()));
}

void paintFrame(QPainter &p, const Frame &f)
{
    p.fillRect(f.rect, QColor(0x12, 0x14, 0x17));
    p.setClipRect(f.rect);
    p.setRenderHint(QPainter::Antialiasing);
    if (!f.inConference || f.tiles.isEmpty())
        return;
    QRect area = f.rect.adjusted(6, 6, -6, -6);
    if (f.sharing) {
        const QRect band(area.left(), area.top(), area.width(), 28);
        p.fillRect(band, QColor(0x2f, 0x9e, 0x44));
        p.setPen(Qt::white);
        p.drawText(band.adjusted(10, 0, -10, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Sharing: %1").arg(f.sharedWindow));
        area.setTop(band.bottom() + 6);
    }
    const int n = f.tiles.size();
    const int cols = int(std::ceil(std::sqrt(double(n))));
    const int rows = (n + cols - 1) / cols;
    const int w = area.width() / cols;
    const int h = area.height() / rows;
    for (int i = 0; i < n; ++i) {
        const QRect r(area.left() + (i % cols) * w, area.top() + (i / cols) * h, w - 6, h - 6);
        paintTile(p, r, f.tiles.at(i), f);
    }
}

class Painter : public QObject
{
public:
    using QObject::QObject;

    QPointer<QWidget> window;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || watched != window.data())
            return false;
        Frame f;
        Client &c = Client::get();
        {
            std::lock_guard<std::mutex> lock(c.mutex);
            const RoomState &s = c.state;
            if (s.window != static_cast<void *>(window.data()))
                return false;
            f.rect = s.rect.isValid() ? s.rect : window->rect();
            f.inConference = s.inConference;
            f.cameraOff = s.cameraOff;
            f.micMuted = s.micMuted;
            f.sharing = s.sharing;
            f.sharedWindow = QString::fromUtf8(s.sharedWindow);
            if (s.inConference) {
                const QString self
                    = s.shownName.isEmpty() ? QString::fromUtf8(s.displayName) : s.shownName;
                f.tiles << Tile{self, QStringLiteral("self@vidyo.example.test"), true};
                for (const Participant &o : s.others)
                    f.tiles << Tile{o.name, o.uri, false};
            }
            ++c.state.paints;
        }
        QPainter p(window.data());
        paintFrame(p, f);
        return true;
    }
};

// On the user-interface thread: follows the handle and asks the window to repaint.
void syncWindow()
{
    static QPointer<Painter> painter;
    if (!painter)
        painter = new Painter(qApp); // goes with the application
    void *handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(Client::get().mutex);
        handle = Client::get().state.window;
    }
    if (painter->window.data() != handle) {
        if (QWidget *old = painter->window.data()) {
            old->removeEventFilter(painter);
            old->update();
        }
        painter->window = nullptr;
        // A handle is only taken when it is a live widget: it may have gone meanwhile.
        const QWidgetList live = QApplication::allWidgets();
        for (QWidget *w : live) {
            if (static_cast<void *>(w) == handle) {
                painter->window = w;
                w->installEventFilter(painter);
                break;
            }
        }
    }
    if (QWidget *w = painter->window.data())
        w->update();
}

} // namespace

void repaintWindow()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return; // no windows to paint into
    QMetaObject::invokeMethod(QCoreApplication::instance(), &syncWindow, Qt::QueuedConnection);
}

} // namespace vidyosim
