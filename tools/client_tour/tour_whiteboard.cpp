// The whiteboard picture: a room with three members, a shared agenda on its second page,
// strokes of one's own and one of bob's.

#include "Tour.h"

#include <TQ_WhiteBoardUI.h>
#include <TqBoardState.h>
#include <TqBoardSurface.h>
#include <TqClientContext.h>
#include <TqWhiteBoardWindow.h>
#include <WbssControl.h>

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

using namespace tour;
using Phase = TqBoardState::Phase;

void mouse(QWidget *surface, QEvent::Type type, const QPoint &at)
{
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &event);
}

// A stroke through `points` of the shown page (800 x 600, fitted into the surface with a
// margin, as the stand-in library shows it at 100 %).
void draw(QWidget *surface, const QList<QPointF> &points)
{
    const qreal w = surface->width();
    const qreal h = surface->height();
    const qreal f = 0.94 * std::min(w / 800, h / 600);
    const QPointF origin((w - 800 * f) / 2, std::max<qreal>((h - 600 * f) / 2, 8));
    const auto at = [&](const QPointF &p) {
        return (origin + p * f).toPoint();
    };
    mouse(surface, QEvent::MouseButtonPress, at(points.first()));
    for (int i = 1; i + 1 < points.size(); ++i)
        mouse(surface, QEvent::MouseMove, at(points.at(i)));
    mouse(surface, QEvent::MouseButtonRelease, at(points.last()));
}

void whiteboardTour()
{
    TQ_WhiteBoardUI *ui = TQ_WhiteBoardUI::instance();
    if (!ui) {
        std::fprintf(stderr, "client_tour: no whiteboard\n");
        ++g_failures;
        return;
    }
    TqBoardState *state = ui->state();
    TqClientContext::instance()->requestFeature(TqFeature::whiteBoard());
    if (!waitFor([state] { return state->phase() == Phase::Ready; }, "the whiteboard server"))
        return;
    auto *w = static_cast<TqWhiteBoardWindow *>(window("whiteBoardWindow"));
    if (!w) {
        ++g_failures;
        return;
    }
    click("whiteBoardWindow", "createButton");
    if (!waitFor([state] { return state->phase() == Phase::InRoom; }, "the room"))
        return;
    wbsim::Control::injectMemberJoin(QStringLiteral("bob"));
    wbsim::Control::injectMemberJoin(QStringLiteral("carol"), 3);
    waitFor([state] { return state->members().size() == 3; }, "the members");

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Q3 planning.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("Q3 planning\n\n1. Where we stand\n   - desktop client in beta\n"
                   "   - 2,400 daily users\n");
        for (int i = 0; i < 17; ++i)
            file.write("\n");
        file.write("2. Goals for the quarter\n\n"
                   "   - ship the whiteboard to every team\n"
                   "   - halve the time to join a meeting\n"
                   "   - file transfer above 1 GB\n\n"
                   "3. Risks\n\n"
                   "   - server capacity in September\n"
                   "   - translations lag behind\n\n"
                   "4. Owners\n\n"
                   "   alice: client    bob: server    carol: design\n");
        file.close();
    }
    w->setFileChooser([path] { return path; });
    click("whiteBoardWindow", "uploadButton");
    waitFor(
        [state] { return !state->documents().isEmpty() && state->documents().first().pages > 0; },
        "the upload");
    click("whiteBoardWindow", "shareButton");
    waitFor([state] { return state->sharedDoc() != 0; }, "the shared document");
    click("whiteBoardWindow", "nextPageButton");
    waitFor([state] { return state->pageIndex() == 1; }, "page 2");

    QWidget *surface = w->surface();
    // A red ring around the first goal, a green tick beside the second, a blue underline.
    click("whiteBoardWindow", "ellipseTool");
    click("whiteBoardWindow", "color1");
    w->findChild<QSpinBox *>(QStringLiteral("widthSpin"))->setValue(4);
    draw(surface, {{24, 99}, {418, 127}});
    click("whiteBoardWindow", "penTool");
    click("whiteBoardWindow", "color2");
    draw(surface, {{420, 136}, {428, 143}, {436, 150}, {448, 136}, {462, 120}, {474, 106}});
    click("whiteBoardWindow", "lineTool");
    click("whiteBoardWindow", "color0");
    draw(surface, {{52, 268}, {322, 268}});
    // bob marks a risk in orange.
    wbsim::Stroke bob;
    bob.userId = QStringLiteral("bob");
    bob.shape = 2;
    bob.argb = 0xfff08c00;
    bob.width = 3;
    bob.points = {QPoint(38, 362), QPoint(416, 390)};
    wbsim::Control::injectStroke(bob);
    waitFor([] { return wbsim::Control::state().strokes.size() == 4; }, "the strokes");
    waitFor([state] { return state->canUndo(); }, "the undo history");
    shot("whiteBoardWindow", "40-whiteboard");
    w->hide();
}

} // namespace

TQ_TOUR_STEP(40, whiteboardTour);
