// File transfers of the XMPP engine over the test Prosody's HTTP file share: uploads and
// downloads keep every byte and report their progress, cancelling and logging out stop them
// without leaving a partial file, and bad requests are refused.

#include "XmppTest.h"
#include "ZSsdk.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <memory>

namespace {

const QString kMedia = QStringLiteral("onSendMediaFile");
const QString kDownloaded = QStringLiteral("onDownloadFileComplete");
const QString kProgress = QStringLiteral("onRateOfProgressAttach");

QString writeRandom(const QString &path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= block.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(block.data()),
                                              block.size() / 4);
        file.write(block.constData(), qMin<qint64>(left, block.size()));
    }
    return path;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 number(const QJsonObject &o, const char *name)
{
    return qint64(o.value(QLatin1String(name)).toDouble(-1));
}

QString textOf(const QJsonObject &o, const char *name)
{
    return o.value(QLatin1String(name)).toString();
}

PeerProcess::Match keyIs(qint64 key)
{
    return [key](const QJsonObject &e) {
        return number(e, "key") == key;
    };
}

// Files in dir whose name begins with that of path: the target and any temporary beside it.
QStringList leftovers(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + QLatin1Char('*')},
                                QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

class TestXmppFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void uploadAndDownloadKeepTheBytes_data();
    void uploadAndDownloadKeepTheBytes();
    void fileMessageReachesTheReceiver();
    void cancelStopsUploadAndDownload();
    void logoutAndUninitializeEndTransfers();
    void badRequestsAreRefused();

private:
    // A started peer, logged in unless told otherwise.
    std::unique_ptr<PeerProcess> startPeer(const QString &user, bool login = true);
    // sendfile; the end event (onSendMediaFile) and the progress of that key. ret has the key.
    QJsonObject send(PeerProcess &peer, const QString &to, const QString &path, int type,
                     QJsonObject *end, const QString &userData = QString());
    QJsonObject fetch(PeerProcess &peer, const QString &url, const QString &path,
                      const QString &msgId, int type, QJsonObject *end);
    // The progress events of a transfer: increasing, the last the whole file; empty otherwise.
    QList<QJsonObject> checkedProgress(PeerProcess &peer, qint64 key, qint64 size);
    QString file(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<PeerProcess> m_alice;
    std::unique_ptr<PeerProcess> m_bob;
    QString m_base; // https://localhost:<port>/
};

std::unique_ptr<PeerProcess> TestXmppFiles::startPeer(const QString &user, bool login)
{
    auto peer = std::make_unique<PeerProcess>(user);
    if (!peer->start() || (login && !peer->loginOk(user)))
        return {};
    return peer;
}

void TestXmppFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(XmppServer::port() > 0, "TQ_XMPP_PORT is set by CTest");
    QVERIFY(XmppServer::ensureStarted());
    m_base = QStringLiteral("https://localhost:%1/")
                 .arg(qEnvironmentVariableIntValue("TQ_XMPP_HTTPS_PORT"));
    m_alice = startPeer(QStringLiteral("alice"));
    m_bob = startPeer(QStringLiteral("bob"));
    QVERIFY(m_alice && m_bob);
}

void TestXmppFiles::cleanupTestCase()
{
    m_alice.reset();
    m_bob.reset();
}

QJsonObject TestXmppFiles::send(PeerProcess &peer, const QString &to, const QString &path, int type,
                                QJsonObject *end, const QString &userData)
{
    const QJsonObject ret
        = peer.command(QStringLiteral("sendfile"), {to, path, QString::number(type), userData});
    if (end && ret.value(QStringLiteral("ret")).toInt(-1) == ZS_OK)
        *end = peer.waitEvent(kMedia, keyIs(number(ret, "key")), 60000);
    return ret;
}

QJsonObject TestXmppFiles::fetch(PeerProcess &peer, const QString &url, const QString &path,
                                 const QString &msgId, int type, QJsonObject *end)
{
    const QJsonObject ret = peer.command(
        QStringLiteral("download"),
        {QStringLiteral("alice"), peer.name(), url, path, msgId, QString::number(type)});
    if (end && ret.value(QStringLiteral("ret")).toInt(-1) == ZS_OK)
        *end = peer.waitEvent(kDownloaded, keyIs(number(ret, "key")), 60000);
    return ret;
}

QList<QJsonObject> TestXmppFiles::checkedProgress(PeerProcess &peer, qint64 key, qint64 size)
{
    QList<QJsonObject> events;
    for (const QJsonObject &e : peer.seen(kProgress))
        if (number(e, "key") == key)
            events << e;
    if (events.isEmpty())
        return {};
    qint64 last = -1;
    for (const QJsonObject &e : events) {
        if (number(e, "done") <= last || number(e, "total") != size)
            return {};
        last = number(e, "done");
    }
    return last == size ? events : QList<QJsonObject>();
}

void TestXmppFiles::uploadAndDownloadKeepTheBytes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");

    QTest::newRow("5 MB of random bytes")
        << writeRandom(file(QStringLiteral("random.bin")), 5 * 1024 * 1024) << 7;

    // Noise does not compress: the picture is larger than the 1 MiB a download step takes at
    // most, so that it takes several steps.
    QImage image(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, QRandomGenerator::global()->generate());
    const QString png = file(QStringLiteral("picture 照片.png"));
    QVERIFY(image.save(png, "PNG"));
    QTest::newRow("picture") << png << 3;
}

void TestXmppFiles::uploadAndDownloadKeepTheBytes()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    QVERIFY(!path.isEmpty());
    const QByteArray bytes = contents(path);
    const qint64 size = bytes.size();

    QJsonObject sent;
    const QJsonObject ret
        = send(*m_alice, QStringLiteral("bob"), path, type, &sent, QStringLiteral("user data"));
    QCOMPARE(ret.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    QVERIFY(number(ret, "key") > 0);
    const QString msgId = textOf(ret, "msgId");
    QVERIFY(!msgId.isEmpty());
    QVERIFY(!sent.isEmpty());

    // The upload's progress: increasing, at most every 64 KiB, the last the whole file.
    const auto up = checkedProgress(*m_alice, number(ret, "key"), size);
    QVERIFY2(up.size() >= 2, "upload progress increasing up to the file's size");
    QVERIFY(up.size() <= size / (64 * 1024) + 1);
    const QString url = textOf(up.last(), "fileUrl");
    QVERIFY2(url.startsWith(m_base), qPrintable(url));
    // The sender's record: the local file, its size, the message's id and type.
    for (const QJsonObject &record : {up.last(), sent}) {
        QCOMPARE(textOf(record, "fileName"), path);
        QCOMPARE(number(record, "fileSize"), size);
        QCOMPARE(textOf(record, "msgId"), msgId);
        QCOMPARE(record.value(QStringLiteral("msgType")).toInt(), type);
        QCOMPARE(textOf(record, "sender"), QStringLiteral("alice"));
        QCOMPARE(textOf(record, "receiver"), QStringLiteral("bob"));
        QCOMPARE(textOf(record, "userData"), QStringLiteral("user data"));
    }
    QCOMPARE(textOf(sent, "fileUrl"), url);

    // Bob fetches it from the record's URL.
    const QString target = file(QStringLiteral("at bob ") + QFileInfo(path).fileName());
    QJsonObject done;
    const QJsonObject got = fetch(*m_bob, url, target, msgId, type, &done);
    QCOMPARE(got.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    QCOMPARE(done.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_SUCCESS));
    QCOMPARE(textOf(done, "fileName"), target);
    QCOMPARE(textOf(done, "fileUrl"), url);
    QCOMPARE(textOf(done, "msgId"), msgId);
    QCOMPARE(number(done, "fileSize"), size);
    QVERIFY2(checkedProgress(*m_bob, number(got, "key"), size).size() >= 2,
             "download progress increasing up to the file's size");
    QVERIFY(contents(target) == bytes);
    QCOMPARE(leftovers(target), QStringList{QFileInfo(target).fileName()});
}

void TestXmppFiles::fileMessageReachesTheReceiver()
{
    const QString path = writeRandom(file(QStringLiteral("report.pdf")), 100000);
    QJsonObject sent;
    const QJsonObject ret
        = send(*m_alice, QStringLiteral("bob"), path, 7, &sent, QStringLiteral("{\"k\":1}"));
    QCOMPARE(ret.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    QCOMPARE(sent.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_SUCCESS));
    QCOMPARE(textOf(sent, "status"), QStringLiteral("success"));

    const QString msgId = textOf(ret, "msgId");
    const QJsonObject received
        = m_bob->waitEvent(QStringLiteral("onReceiveFile"),
                           [&](const QJsonObject &e) { return textOf(e, "msgId") == msgId; });
    QVERIFY2(!received.isEmpty(), "bob receives the file message");
    QCOMPARE(textOf(received, "sender"), QStringLiteral("alice"));
    QCOMPARE(textOf(received, "fileUrl"), textOf(sent, "fileUrl"));
    QCOMPARE(textOf(received, "fileName"), QStringLiteral("report.pdf"));
    QCOMPARE(number(received, "fileSize"), qint64(100000));
    QCOMPARE(received.value(QStringLiteral("msgType")).toInt(), 7);
    QCOMPARE(textOf(received, "userData"), QStringLiteral("{\"k\":1}"));
}

void TestXmppFiles::cancelStopsUploadAndDownload()
{
    const QString big = writeRandom(file(QStringLiteral("big.bin")), 8 * 1024 * 1024);

    // An upload held at its first progress is cancelled: it ends with 487, never complete.
    QCOMPARE(m_alice->command(QStringLiteral("hold")).value(QStringLiteral("ret")).toInt(-1), 0);
    const QJsonObject ret = send(*m_alice, QStringLiteral("bob"), big, 7, nullptr);
    QCOMPARE(ret.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    const qint64 key = number(ret, "key");
    QVERIFY(!m_alice->waitEvent(QStringLiteral("held"), keyIs(key)).isEmpty());
    const QJsonObject cancelled
        = m_alice->command(QStringLiteral("cancel"), {QString::number(key)});
    QCOMPARE(cancelled.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    const QJsonObject end = m_alice->waitEvent(kMedia, keyIs(key));
    QCOMPARE(end.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_CANCELLED));
    QCOMPARE(textOf(end, "status"), QStringLiteral("cancelled"));
    for (const QJsonObject &e : m_alice->seen(kProgress))
        QVERIFY(number(e, "key") != key || number(e, "done") < number(e, "total"));
    // Once ended the key is unknown.
    QCOMPARE(m_alice->command(QStringLiteral("cancel"), {QString::number(key)})
                 .value(QStringLiteral("ret"))
                 .toInt(-1),
             int(ZS_ERR_NOT_FOUND));
    // The server kept nothing of it.
    const QString slotUrl = textOf(end, "fileUrl");
    QVERIFY2(slotUrl.startsWith(m_base), qPrintable(slotUrl));
    QJsonObject none;
    fetch(*m_bob, slotUrl, file(QStringLiteral("partial.bin")), QString(), 7, &none);
    QCOMPARE(none.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_NOT_FOUND));
    QVERIFY(leftovers(file(QStringLiteral("partial.bin"))).isEmpty());

    // A download held at its first progress is cancelled: no file, no temporary file.
    QJsonObject sent;
    const QJsonObject whole = send(*m_alice, QStringLiteral("bob"), big, 7, &sent);
    const QList<QJsonObject> up = checkedProgress(*m_alice, number(whole, "key"), 8 * 1024 * 1024);
    QVERIFY(!up.isEmpty());
    QCOMPARE(m_bob->command(QStringLiteral("hold")).value(QStringLiteral("ret")).toInt(-1), 0);
    const QString target = file(QStringLiteral("cancelled download.bin"));
    const QJsonObject got
        = fetch(*m_bob, textOf(up.last(), "fileUrl"), target, QString(), 7, nullptr);
    QCOMPARE(got.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    const qint64 downKey = number(got, "key");
    QVERIFY(!m_bob->waitEvent(QStringLiteral("held"), keyIs(downKey)).isEmpty());
    QCOMPARE(m_bob->command(QStringLiteral("cancel"), {QString::number(downKey)})
                 .value(QStringLiteral("ret"))
                 .toInt(-1),
             int(ZS_OK));
    const QJsonObject stopped = m_bob->waitEvent(kDownloaded, keyIs(downKey));
    QCOMPARE(stopped.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_CANCELLED));
    QCOMPARE(leftovers(target), QStringList());
}

void TestXmppFiles::logoutAndUninitializeEndTransfers()
{
    const qint64 size = 16 * 1024 * 1024;
    const QString big = writeRandom(file(QStringLiteral("carol.bin")), size);
    auto carol = startPeer(QStringLiteral("carol"));
    QVERIFY(carol);

    // Logging out while an upload runs ends it as cancelled, before the logout's answer.
    QCOMPARE(carol->command(QStringLiteral("hold")).value(QStringLiteral("ret")).toInt(-1), 0);
    const QJsonObject ret = send(*carol, QStringLiteral("alice"), big, 7, nullptr);
    QCOMPARE(ret.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    const qint64 key = number(ret, "key");
    QVERIFY(!carol->waitEvent(QStringLiteral("held"), keyIs(key)).isEmpty());
    QCOMPARE(carol->command(QStringLiteral("logout")).value(QStringLiteral("ret")).toInt(-1), 0);
    QCOMPARE(carol->command(QStringLiteral("release")).value(QStringLiteral("ret")).toInt(-1), 0);
    const QJsonObject end = carol->waitEvent(kMedia, keyIs(key));
    QCOMPARE(end.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_CANCELLED));
    QVERIFY(!carol->waitEvent(QStringLiteral("onLogOut")).isEmpty());
    QCOMPARE(carol->command(QStringLiteral("cancel"), {QString::number(key)})
                 .value(QStringLiteral("ret"))
                 .toInt(-1),
             int(ZS_ERR_NOT_FOUND));

    // Uninitialising while a download runs: no answer after it, no file left behind.
    QJsonObject sent;
    const QJsonObject whole = send(*m_alice, QStringLiteral("carol"), big, 7, &sent);
    const QList<QJsonObject> up = checkedProgress(*m_alice, number(whole, "key"), size);
    QVERIFY(!up.isEmpty());
    QVERIFY(carol->loginOk(QStringLiteral("carol")));
    QCOMPARE(carol->command(QStringLiteral("hold")).value(QStringLiteral("ret")).toInt(-1), 0);
    const QString target = file(QStringLiteral("carol download.bin"));
    const QJsonObject got
        = carol->command(QStringLiteral("download"),
                         {QStringLiteral("alice"), QStringLiteral("carol"),
                          textOf(up.last(), "fileUrl"), target, QString(), QStringLiteral("7")});
    QCOMPARE(got.value(QStringLiteral("ret")).toInt(-1), int(ZS_OK));
    const qint64 downKey = number(got, "key");
    QVERIFY(!carol->waitEvent(QStringLiteral("held"), keyIs(downKey)).isEmpty());
    QCOMPARE(carol->command(QStringLiteral("stopheld")).value(QStringLiteral("ret")).toInt(-1),
             int(ZS_OK));
    QCOMPARE(carol->command(QStringLiteral("ping")).value(QStringLiteral("ret")).toInt(-1), 0);
    QVERIFY(carol->seen(kDownloaded).isEmpty());
    QCOMPARE(leftovers(target), QStringList());
}

void TestXmppFiles::badRequestsAreRefused()
{
    auto ret = [](const QJsonObject &o) {
        return o.value(QStringLiteral("ret")).toInt(-1);
    };
    const QString small = writeRandom(file(QStringLiteral("small.bin")), 1000);

    // Refused at once, without a key.
    const QJsonObject missing
        = send(*m_alice, QStringLiteral("bob"), file(QStringLiteral("not there.bin")), 7, nullptr);
    QCOMPARE(ret(missing), int(ZS_ERR_NOT_FOUND));
    QCOMPARE(number(missing, "key"), qint64(0));
    QCOMPARE(textOf(missing, "msgId"), QString());
    QCOMPARE(ret(send(*m_alice, QStringLiteral("bob"), m_dir.path(), 7, nullptr)),
             int(ZS_ERR_NOT_FOUND));
    QCOMPARE(ret(send(*m_alice, QString(), small, 7, nullptr)), int(ZS_ERR_INVALID_ARGUMENT));
    QCOMPARE(ret(fetch(*m_bob, QString(), file(QStringLiteral("x")), QString(), 7, nullptr)),
             int(ZS_ERR_INVALID_ARGUMENT));
    QCOMPARE(ret(m_alice->command(QStringLiteral("cancel"), {QStringLiteral("4000000000")})),
             int(ZS_ERR_NOT_FOUND));
    auto idle = startPeer(QStringLiteral("carol"), false);
    QVERIFY(idle);
    QCOMPARE(ret(send(*idle, QStringLiteral("bob"), small, 7, nullptr)), int(ZS_ERR_NOT_LOGGED_IN));
    QCOMPARE(ret(fetch(*idle, m_base + QStringLiteral("a/b"), file(QStringLiteral("y")), QString(),
                       7, nullptr)),
             int(ZS_ERR_NOT_LOGGED_IN));

    // Answered: a URL the server does not know, one that is not https, no HTTPS server.
    const QString nowhere = file(QStringLiteral("nowhere.bin"));
    QJsonObject end;
    fetch(*m_bob, m_base + QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral("/x.bin"),
          nowhere, QString(), 7, &end);
    QCOMPARE(end.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_NOT_FOUND));
    fetch(*m_bob, QStringLiteral("http://localhost:%1/x.bin").arg(XmppServer::port()), nowhere,
          QString(), 7, &end);
    QCOMPARE(end.value(QStringLiteral("reason")).toInt(), int(ZS_REASON_FORBIDDEN));
    // The XMPP port speaks no TLS at first: no HTTPS connection.
    fetch(*m_bob, QStringLiteral("https://localhost:%1/x.bin").arg(XmppServer::port()), nowhere,
          QString(), 7, &end);
    QCOMPARE(end.value(QStringLiteral("reason")).toInt(), int(ZS_ERR_NETWORK));
    QCOMPARE(leftovers(nowhere), QStringList());

    // Over the server's limit (64 MB): refused before any byte goes up. Sparse, so cheap.
    const QString huge = file(QStringLiteral("huge.bin"));
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(65 * 1024 * 1024));
    }
    const QJsonObject tooLarge = send(*m_alice, QStringLiteral("bob"), huge, 7, &end);
    QCOMPARE(ret(tooLarge), int(ZS_OK));
    QCOMPARE(end.value(QStringLiteral("reason")).toInt(), 413);
    for (const QJsonObject &e : m_alice->seen(kProgress))
        QVERIFY(number(e, "key") != number(tooLarge, "key"));
}

TQ_TEST_CLASS(TestXmppFiles)
#include "tst_xmpp_files.moc"
