// The whiteboard: its widget-free state on its own, then one session driven through the
// window's widgets against the stand-in library, which draws into the window.

#include "UiTest.h"

#include <TQ_WhiteBoardUI.h>
#include <TqBoardCodes.h>
#include <TqBoardState.h>
#include <TqBoardSurface.h>
#include <TqClientContext.h>
#include <TqWhiteBoardWindow.h>
#include <WbssControl.h>
#include <WhiteBoard_Agent.h>
#include <tq_ui_test_paths.h>

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

using Phase = TqBoardState::Phase;

// The state alone: what it asks for and what it makes of the answers.
class TestBoardState : public QObject
{
    Q_OBJECT

private slots:
    void createThenJoinAsHost()
    {
        TqBoardState state;
        QSignalSpy joins(&state, &TqBoardState::joinRoomRequest);
        state.start("alice", "/tmp");
        state.onTcpConnected(200, "h", 1);
        QCOMPARE(state.phase(), Phase::Ready);
        state.createRoom("pw");
        state.onCreateRoom(200, 5001);
        QCOMPARE(joins.size(), 1);
        QCOMPARE(joins.first(), (QVariantList{5001, "pw", TqBoardCode::RoleHost}));
        state.onJoinRoom(200,
                         "{\"roomId\":5001,\"members\":[{\"userId\":\"alice\",\"role\":1,"
                         "\"draw\":true},{\"userId\":\"bob\",\"role\":3,\"draw\":false}]}");
        QCOMPARE(state.phase(), Phase::InRoom);
        QCOMPARE(state.roomId(), 5001);
        QCOMPARE(state.members().size(), 2);
        QVERIFY(state.isHost());
        QVERIFY(!state.members().at(1).canDraw);
    }

    // A refused join goes back to the lobby with the reason; a join answer with no list (null
    // text from the library) leaves no members behind.
    void refusedJoin()
    {
        TqBoardState state;
        QSignalSpy problems(&state, &TqBoardState::problem);
        state.start("alice", "/tmp");
        state.onTcpConnected(200, "h", 1);
        state.joinRoom(7, "bad");
        state.onJoinRoom(403, QString());
        QCOMPARE(state.phase(), Phase::Ready);
        QCOMPARE(problems.size(), 1);
        QCOMPARE(problems.first().first().value<TqBoardState::Problem>(),
                 TqBoardState::Problem::WrongPassword);
        QVERIFY(state.members().isEmpty());
    }

    // Undo and redo follow the library's answers, not the clicks.
    void undoFollowsAnswers()
    {
        TqBoardState state;
        state.start("alice", "/tmp");
        state.onTcpConnected(200, "h", 1);
        state.joinRoom(5, "");
        state.onJoinRoom(200,
                         "{\"roomId\":5,\"members\":[{\"userId\":\"alice\",\"role\":2,"
                         "\"draw\":true}]}");
        QVERIFY(!state.canUndo());
        state.noteOwnStroke();
        QVERIFY(state.canUndo());
        QSignalSpy undo(&state, &TqBoardState::drawUndoRequest);
        state.undo();
        QCOMPARE(undo.size(), 1);
        QVERIFY(state.canUndo()); // until the library answers
        state.onDrawUndo(404);
        QVERIFY(state.canUndo());
        state.onDrawUndo(200);
        QVERIFY(!state.canUndo());
        QVERIFY(state.canRedo());
        state.onGotoPage(200, 1, 3);
        QVERIFY(!state.canRedo()); // another page, another history
    }

    // The refused upload's own answer (201) ends the upload with a problem.
    void refusedUpload()
    {
        TqBoardState state;
        QSignalSpy problems(&state, &TqBoardState::problem);
        state.start("alice", "/tmp");
        state.onTcpConnected(200, "h", 1);
        state.joinRoom(5, "");
        state.onJoinRoom(200, "{\"roomId\":5,\"members\":[]}");
        state.uploadFile(QStringLiteral("/nowhere/x.txt"));
        QVERIFY(state.isUploading());
        state.onUploadFile(TqBoardCode::UploadRefused, 11);
        QVERIFY(!state.isUploading());
        QVERIFY(state.documents().isEmpty());
        QCOMPARE(problems.size(), 1);
    }
};

class TestWhiteBoardWindow : public QObject
{
    Q_OBJECT

    TQ_WhiteBoardUI *m_ui = nullptr;
    std::unique_ptr<TQ_WhiteBoardUI> m_own;

    template<class T> T *find(const char *name) const
    {
        T *w = m_ui->window()->findChild<T *>(QLatin1String(name));
        if (!w)
            qWarning("no widget %s", name);
        return w;
    }

    QStringList items(const char *list) const
    {
        QStringList texts;
        auto *w = find<QListWidget>(list);
        for (int i = 0; i < w->count(); ++i)
            texts << w->item(i)->text();
        return texts;
    }

    void mouse(QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, button, held, Qt::NoModifier);
        QApplication::sendEvent(m_ui->window()->surface(), &event);
    }

private slots:
    void initTestCase()
    {
        // A fresh library running with the agent's table.
        WhiteBoard_Agent *agent = WhiteBoard_Agent::instance();
        agent->unInitWhiteBoardAgent();
        wbsim::Control::reset();
        agent->initWhiteBoardAgent();
        QVERIFY(wbsim::Control::initialized());

        m_ui = TQ_WhiteBoardUI::instance();
        if (!m_ui) {
            m_own = std::make_unique<TQ_WhiteBoardUI>();
            m_ui = m_own.get();
        }
        TqClientContext::instance()->setLoggedOut();
        TqClientContext::instance()->setLoggedIn("alice");
        QTRY_COMPARE(m_ui->state()->phase(), Phase::Ready);
    }

    void cleanupTestCase()
    {
        TqClientContext::instance()->setLoggedOut();
        m_own.reset();
    }

    void session()
    {
        TqClientContext::instance()->requestFeature(TqFeature::whiteBoard());
        TqWhiteBoardWindow *window = m_ui->window();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        // A room of one's own, hosted.
        QTest::mouseClick(find<QPushButton>("createButton"), Qt::LeftButton);
        QTRY_COMPARE(m_ui->state()->phase(), Phase::InRoom);
        QCOMPARE(find<QLabel>("statusLabel")->text(),
                 QStringLiteral("Room %1").arg(m_ui->state()->roomId()));
        QCOMPARE(items("memberList"), QStringList{"alice (you)\nhost · may draw"});
        QTRY_COMPARE(wbsim::Control::state().window, static_cast<void *>(window->surface()));

        // bob comes in; the host takes his pen.
        wbsim::Control::injectMemberJoin("bob");
        QTRY_COMPARE(items("memberList").size(), 2);
        QCOMPARE(items("memberList").at(1), QStringLiteral("bob\npresenter · may draw"));
        find<QListWidget>("memberList")->setCurrentRow(1);
        QCOMPARE(find<QPushButton>("drawRightButton")->text(), QStringLiteral("Stop drawing"));
        QTest::mouseClick(find<QPushButton>("drawRightButton"), Qt::LeftButton);
        QTRY_COMPARE(items("memberList").at(1), QStringLiteral("bob\npresenter · watches"));

        // A real file of three pages, uploaded with progress, shared, paged.
        QTemporaryDir dir;
        const QString path = dir.filePath("agenda.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= 60; ++i)
            file.write("Item " + QByteArray::number(i) + "\n");
        file.close();
        window->setFileChooser([path] { return path; });
        QTest::mouseClick(find<QPushButton>("uploadButton"), Qt::LeftButton);
        QTRY_COMPARE(items("documentList"), QStringList{"agenda.txt (3 pages)"});
        QCOMPARE(find<QProgressBar>("uploadProgress")->value(), 100);
        QTest::mouseClick(find<QPushButton>("shareButton"), Qt::LeftButton);
        QTRY_COMPARE(find<QLabel>("pageLabel")->text(), QStringLiteral("Page 1 / 3"));
        QVERIFY(!find<QPushButton>("prevPageButton")->isEnabled());
        QTest::mouseClick(find<QPushButton>("nextPageButton"), Qt::LeftButton);
        QTRY_COMPARE(find<QLabel>("pageLabel")->text(), QStringLiteral("Page 2 / 3"));
        QCOMPARE(wbsim::Control::state().pageIndex, 1);

        QTest::mouseClick(find<QPushButton>("zoomInButton"), Qt::LeftButton);
        QCOMPARE(find<QLabel>("zoomLabel")->text(), QStringLiteral("125 %"));
        QTRY_COMPARE(wbsim::Control::state().scale, 1.25f);

        // A red rectangle, 6 wide.
        QTest::mouseClick(find<QToolButton>("rectangleTool"), Qt::LeftButton);
        QTest::mouseClick(find<QToolButton>("color1"), Qt::LeftButton);
        find<QSpinBox>("widthSpin")->setValue(6);
        QTRY_COMPARE(wbsim::Control::state().width, 6);
        QCOMPARE(wbsim::Control::state().shape, int(TqBoardCode::ShapeRect));
        QCOMPARE(wbsim::Control::state().argb, 0xffe03131u);

        const int paintsBefore = wbsim::Control::state().paints;
        mouse(QEvent::MouseButtonPress, {60, 60}, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, {120, 90}, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, {220, 160}, Qt::LeftButton, Qt::NoButton);
        QTRY_COMPARE(wbsim::Control::state().strokes.size(), 1);
        QCOMPARE(wbsim::Control::state().strokes.first().shape, int(TqBoardCode::ShapeRect));
        // The library paints the stroke into the bound surface.
        QTRY_VERIFY(wbsim::Control::state().paints > paintsBefore);

        QVERIFY(find<QPushButton>("undoButton")->isEnabled());
        QTest::mouseClick(find<QPushButton>("undoButton"), Qt::LeftButton);
        QTRY_COMPARE(wbsim::Control::state().strokes.size(), 0);
        QTRY_VERIFY(find<QPushButton>("redoButton")->isEnabled());
        QVERIFY(!find<QPushButton>("undoButton")->isEnabled());
        QTest::mouseClick(find<QPushButton>("redoButton"), Qt::LeftButton);
        QTRY_COMPARE(wbsim::Control::state().strokes.size(), 1);

        QTest::mouseClick(find<QPushButton>("leaveButton"), Qt::LeftButton);
        QTRY_COMPARE(m_ui->state()->phase(), Phase::Ready);
        QCOMPARE(wbsim::Control::state().roomId, 0);
        QTRY_COMPARE(wbsim::Control::state().window, static_cast<void *>(nullptr));
        QVERIFY(items("memberList").isEmpty());
        window->hide();
    }
};

// The window's words in Chinese: every text of the sources translated, and the merged catalog
// used by the window.
class TestWhiteBoardCatalog : public QObject
{
    Q_OBJECT

private slots:
    void everyWhiteboardTextIsTranslated()
    {
        const QString lupdate = QStandardPaths::findExecutable(QStringLiteral("lupdate"));
        if (lupdate.isEmpty())
            QSKIP("lupdate is not installed");
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("whiteboard.ts"));
        QVERIFY(QFile::copy(
            QStringLiteral(TQ_UI_SOURCE_DIR "/TQ_WhiteBoardUI/TQ_WhiteBoardUI_zh_CN.ts"), copy));
        QProcess run;
        run.start(lupdate,
                  {"-silent", "-locations", "none", "-no-obsolete",
                   QStringLiteral(TQ_UI_SOURCE_DIR "/TQ_WhiteBoardUI"), "-ts", copy});
        QVERIFY(run.waitForFinished(120000));
        QCOMPARE(run.exitCode(), 0);
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int messages = 0;
        QString source;
        while (!xml.atEnd()) {
            if (!xml.readNextStartElement())
                continue;
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                QVERIFY2(type.isEmpty() && !xml.readElementText().isEmpty(), qPrintable(source));
            }
        }
        QVERIFY(messages > 50);
    }

    void windowInChinese()
    {
        QTranslator catalog;
        QVERIFY2(catalog.load(QStringLiteral(TQ_UI_BUILD_CATALOG)), TQ_UI_BUILD_CATALOG);
        QCoreApplication::installTranslator(&catalog);
        TqBoardState state;
        const auto window = std::make_unique<TqWhiteBoardWindow>(&state);
        QCoreApplication::removeTranslator(&catalog);
        QCOMPARE(window->findChild<QPushButton *>("createButton")->text(),
                 QString::fromUtf8("新建房间"));
        QCOMPARE(window->findChild<QLabel *>("pageLabel")->text(), QString::fromUtf8("未共享文档"));
    }
};

TQ_UI_TEST(TestBoardState)
TQ_UI_TEST(TestWhiteBoardWindow)
TQ_UI_TEST(TestWhiteBoardCatalog)

#include "tst_whiteboard.moc"
