// The stand-in's drawing into the bound window. On Linux the handle is a QWidget: the library
// paints the page, its document and the strokes over that widget, on the widget's thread.

#include "Board.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTransform>
#include <QWidget>

#include <algorithm>

namespace wbsim {

namespace {

const QSizeF kPage(800, 600);

struct View
{
    QRect rect;
    int zoom = WBSS_ZOOM_FIT_PAGE;
    float scale = 1.0f;
};

QTransform pageTransform(const View &v)
{
    const QRectF r(v.rect);
    qreal factor = 1.0;
    if (v.zoom == WBSS_ZOOM_FIT_PAGE)
        factor = std::min(r.width() / kPage.width(), r.height() / kPage.height());
    else if (v.zoom == WBSS_ZOOM_FIT_WIDTH)
        factor = r.width() / kPage.width();
    factor = std::max<qreal>(0.01, factor * 0.94 * qreal(v.scale)); // a margin around the page
    const QSizeF shown = kPage * factor;
    const qreal x = r.x() + (r.width() - shown.width()) / 2;
    const qreal y = r.y() + std::max<qreal>((r.height() - shown.height()) / 2, 8);
    return QTransform::fromTranslate(x, y).scale(factor, factor);
}

View viewLocked(const Board &b)
{
    return View{b.session.rect, b.session.zoom, b.session.scale};
}

// What one paint needs, copied under the lock.
struct Frame
{
    View view;
    bool inRoom = false;
    QString fileName;
    QStringList lines;
    QImage image;
    int pageIndex = 0;
    int pageNum = 0;
    QList<Stroke> strokes;
};

void drawStroke(QPainter &p, const Stroke &s)
{
    if (s.points.isEmpty())
        return;
    QPen pen(s.eraser ? QColor(Qt::white) : QColor::fromRgba(s.argb),
             s.eraser ? s.width * 4 : s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPoint a = s.points.first();
    const QPoint z = s.points.last();
    switch (s.eraser ? int(WBSS_SHAPE_FREE) : s.shape) {
    case WBSS_SHAPE_LINE:
        p.drawLine(a, z);
        break;
    case WBSS_SHAPE_RECT:
        p.drawRect(QRect(a, z).normalized());
        break;
    case WBSS_SHAPE_ELLIPSE:
        p.drawEllipse(QRect(a, z).normalized());
        break;
    default: {
        if (s.points.size() == 1) {
            p.drawPoint(a);
            break;
        }
        QPainterPath path(a);
        for (int i = 1; i < s.points.size(); ++i)
            path.lineTo(s.points.at(i));
        p.drawPath(path);
    }
    }
}

void paintFrame(QPainter &p, const Frame &f)
{
    p.fillRect(f.view.rect, QColor(0xe9, 0xec, 0xef));
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(f.view.rect);
    p.setTransform(pageTransform(f.view));
    const QRectF page(QPointF(0, 0), kPage);
    p.fillRect(page.translated(3, 3), QColor(0, 0, 0, 40));
    p.fillRect(page, Qt::white);
    p.setPen(QColor(0xce, 0xd4, 0xda));
    p.drawRect(page);
    if (!f.fileName.isEmpty()) {
        QFont font = p.font();
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(QColor(0x86, 0x8e, 0x96));
        p.drawText(QRectF(24, 12, 752, 24), Qt::AlignLeft | Qt::AlignVCenter, f.fileName);
        p.drawText(QRectF(24, 12, 752, 24), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1 / %2").arg(f.pageIndex + 1).arg(f.pageNum));
        p.drawLine(QPointF(24, 40), QPointF(776, 40));
        if (!f.image.isNull()) {
            const QRectF area(24, 52, 752, 524);
            QSizeF size = f.image.size();
            size.scale(area.size(), Qt::KeepAspectRatio);
            p.drawImage(QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size),
                        f.image);
        } else {
            font.setPixelSize(18);
            p.setFont(font);
            p.setPen(QColor(0x21, 0x25, 0x29));
            const int first = f.pageIndex * kLinesPerPage;
            for (int i = 0; i < kLinesPerPage && first + i < f.lines.size(); ++i)
                p.drawText(QRectF(32, 52 + i * 24, 736, 24), Qt::AlignLeft | Qt::AlignVCenter,
                           f.lines.at(first + i));
        }
    }
    for (const Stroke &s : f.strokes)
        drawStroke(p, s);
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
        Board &b = Board::get();
        {
            std::lock_guard<std::mutex> lock(b.mutex);
            if (b.session.window != static_cast<void *>(window.data()))
                return false;
            f.view = viewLocked(b);
            f.inRoom = b.session.roomId != 0;
            const Document doc = b.documents.value(b.session.sharedDoc);
            f.fileName = doc.fileName;
            f.lines = doc.lines;
            f.image = doc.image;
            f.pageIndex = b.session.pageIndex;
            f.pageNum = b.session.pageNum;
            f.strokes = b.session.strokes;
            if (b.drawing)
                f.strokes << b.inProgress;
            ++b.session.paints;
        }
        QPainter p(window.data());
        paintFrame(p, f);
        return true;
    }
};

// On the user-interface thread: follows the bound handle and asks the window to repaint.
void syncWindow()
{
    static QPointer<Painter> painter;
    if (!painter)
        painter = new Painter(qApp); // goes with the application
    void *handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(Board::get().mutex);
        handle = Board::get().session.window;
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

QPointF toPageLocked(const Board &b, const QPoint &windowPoint)
{
    return pageTransform(viewLocked(b)).inverted().map(QPointF(windowPoint));
}

void repaintWindow()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return; // no windows to draw into
    QMetaObject::invokeMethod(QCoreApplication::instance(), &syncWindow, Qt::QueuedConnection);
}

} // namespace wbsim
