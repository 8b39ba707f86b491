// Users of two federated servers reach each other through the XMPP engine: alice@alpha.test
// on 127.0.0.1 and bob@beta.test on 127.0.0.2 see each other's presence and profile, exchange
// texts with read markers and withdrawal, and files kept at the sender's server; a send to the
// other domain is answered only once that domain took it.

#include "XmppTest.h"
#include "ZSsdk.h"

#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace {

const QString kPush = QStringLiteral("onReceiveFriendsPublishPresence");
const QString kSent = QStringLiteral("onSendTextMessage");
const QString kReceived = QStringLiteral("onReceiveMessage");
const QString kNotice = QStringLiteral("onReceiveOpreateNoticeMessage");
const QString kOfflineDone = QStringLiteral("onOfflineMessageComplete");
const QString kGroupNotice = QStringLiteral("onReceiveGroupNoticeMessage");
const QString kAlice = QStringLiteral("alice@alpha.test");
const QString kBob = QStringLiteral("bob@beta.test");

// A presence push with `name` at type/subtype and that user data (the peer shows its bytes
// one per character).
PeerProcess::Match pushed(const QString &name, int type, int subtype, const QString &note)
{
    const QString bytes = QString::fromLatin1(note.toUtf8());
    return [=](const QJsonObject &e) {
        const QJsonObject r = recordOf(e, name);
        return !r.isEmpty() && num(r, "number1") == type && num(r, "number2") == subtype
            && str(r, "text4") == bytes;
    };
}

} // namespace

class TestXmppFederation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void presenceAndProfilesCrossTheDomains();
    void textsBothWaysWithReadMarkers();
    void sendsToTheOtherDomainWaitForIt();
    void fileUploadedAtHomeIsFetchedAcross();
    void bobJoinsAlicesGroupAcross();

private:
    // A started peer with the federation's CA, logged in at its domain's server, its offline
    // messages handed over.
    std::unique_ptr<PeerProcess> user(const QString &jid);
    // Sends a text; the answer of the send (empty when the request was refused).
    QJsonObject sendText(PeerProcess &from, const QString &to, const QString &text,
                         QString *msgId = nullptr);

    QTemporaryDir m_dir;
    std::unique_ptr<PeerProcess> m_alice;
    std::unique_ptr<PeerProcess> m_bob;
};

std::unique_ptr<PeerProcess> TestXmppFederation::user(const QString &jid)
{
    auto peer = std::make_unique<PeerProcess>(jid);
    if (!peer->start({QStringLiteral("TQ_XMPP_CA_FILE=") + XmppFederation::caFile()})
        || !peer->loginOk(jid) || peer->waitEvent(kOfflineDone).isEmpty())
        return nullptr;
    return peer;
}

QJsonObject TestXmppFederation::sendText(PeerProcess &from, const QString &to, const QString &text,
                                         QString *msgId)
{
    const QJsonObject ret = from.command(QStringLiteral("send"), {to, text, "1", QString()});
    if (retOf(ret) != 0)
        return {};
    if (msgId)
        *msgId = str(ret, "msgId");
    // A remote server that never answers must not stall the test beyond the engine's limit.
    return from.waitEvent(kSent, keyed(ret), 90000);
}

void TestXmppFederation::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(XmppServer::port() > 0, "TQ_XMPP_PORT is set");
    QVERIFY(XmppFederation::ensureStarted());
    m_alice = user(kAlice);
    QVERIFY(m_alice);
    m_bob = user(kBob);
    QVERIFY(m_bob);
}

void TestXmppFederation::cleanupTestCase()
{
    m_alice.reset();
    m_bob.reset();
    // Port 5269 is the machine's: free it for the next federated run at once.
    XmppFederation::stopIfStarted();
}

void TestXmppFederation::presenceAndProfilesCrossTheDomains()
{
    // Each has the other in the shared roster, by bare JID, and sees them come online.
    const auto online = [](const QString &name) {
        return [name](const QJsonObject &e) {
            return num(recordOf(e, name), "number1") == 1;
        };
    };
    QVERIFY2(!m_alice->waitEvent(kPush, online(kBob)).isEmpty(), "alice sees bob online");
    QVERIFY2(!m_bob->waitEvent(kPush, online(kAlice)).isEmpty(), "bob sees alice online");

    // Changes with user data, both ways.
    const QString note = QStringLiteral("im Meeting — 会议中");
    QJsonObject ret = m_alice->command(QStringLiteral("publish"), {"3", "1", note});
    QCOMPARE(retOf(ret), 0);
    QCOMPARE(num(m_alice->waitEvent(QStringLiteral("onPublishPresence"), keyed(ret)), "reason"),
             200);
    QVERIFY(!m_bob->waitEvent(kPush, pushed(kAlice, 3, 1, note)).isEmpty());
    QCOMPARE(retOf(m_bob->command(QStringLiteral("publish"), {"4", "2", "lunch"})), 0);
    QVERIFY(!m_alice->waitEvent(kPush, pushed(kBob, 4, 2, QStringLiteral("lunch"))).isEmpty());

    // What alice's roster says of bob now, asked by bare JID.
    ret = m_alice->command(QStringLiteral("userstate"), {kBob, QStringLiteral("carol@beta.test")});
    QCOMPARE(retOf(ret), 0);
    const QJsonArray states = m_alice->waitEvent(QStringLiteral("onGetUserState"), keyed(ret))
                                  .value(QStringLiteral("states"))
                                  .toArray();
    QCOMPARE(states.size(), 2);
    QCOMPARE(num(states[0].toObject(), "number1"), 4);
    QCOMPARE(str(states[0].toObject(), "text4"), QStringLiteral("lunch"));
    QCOMPARE(num(states[1].toObject(), "number1"), 2); // a contact of the other domain, offline

    // A profile stored at alpha is read from beta, and its new version reaches bob's push.
    ret = m_alice->command(QStringLiteral("setinfo"),
                           {"1", "2", "3", QStringLiteral("Älice of Alpha"), "8001", "sig"});
    QCOMPARE(retOf(ret), 0);
    QCOMPARE(num(m_alice->waitEvent(QStringLiteral("onSetPersonInfo"), keyed(ret)), "reason"), 200);
    QVERIFY(!m_bob
                 ->waitEvent(kPush,
                             [](const QJsonObject &e) {
                                 const QJsonObject r = recordOf(e, kAlice);
                                 return str(r, "text2") == QStringLiteral("Älice of Alpha")
                                     && str(r, "text3") == QStringLiteral("8001");
                             })
                 .isEmpty());
    ret = m_bob->command(QStringLiteral("getinfo"), {kAlice});
    QCOMPARE(retOf(ret), 0);
    const QJsonObject info = m_bob->waitEvent(QStringLiteral("onGetPersonInfo"), keyed(ret));
    QCOMPARE(num(info, "reason"), 200);
    QCOMPARE(str(info, "text1"), QStringLiteral("Älice of Alpha"));
    QCOMPARE(num(info, "number3"), 3);
}

void TestXmppFederation::textsBothWaysWithReadMarkers()
{
    const QString text = QStringLiteral("Grüße über die Grenze, 你好 🙂\n<b>&amp;</b>");
    QString id;
    const QJsonObject sent = sendText(*m_alice, kBob, text, &id);
    QCOMPARE(num(sent, "reason"), int(ZS_REASON_SUCCESS));
    QCOMPARE(str(sent, "sender"), kAlice);
    QCOMPARE(str(sent, "receiver"), kBob);

    const QJsonObject got = m_bob->waitEvent(kReceived, withId(id));
    QVERIFY(!got.isEmpty());
    QCOMPARE(str(got, "sender"), kAlice);
    QCOMPARE(str(got, "receiver"), kBob);
    QCOMPARE(str(got, "sessionId"), kAlice);
    QCOMPARE(str(got, "msgContent"), text);

    QString reply;
    const QJsonObject back = sendText(*m_bob, kAlice, QStringLiteral("angekommen"), &reply);
    QCOMPARE(num(back, "reason"), int(ZS_REASON_SUCCESS));
    const QJsonObject answer = m_alice->waitEvent(kReceived, withId(reply));
    QCOMPARE(str(answer, "sender"), kBob);
    QCOMPARE(str(answer, "receiver"), kAlice);
    QCOMPARE(str(answer, "msgContent"), QStringLiteral("angekommen"));

    // Read markers both ways, the reader named by bare JID.
    const auto read = [](const QString &msgId) {
        return [msgId](const QJsonObject &e) {
            return num(e, "msgType") == 26 && str(e, "msgId") == msgId;
        };
    };
    QCOMPARE(retOf(m_bob->command(QStringLiteral("read"), {id})), 0);
    QCOMPARE(str(m_alice->waitEvent(kNotice, read(id)), "sender"), kBob);
    QCOMPARE(retOf(m_alice->command(QStringLiteral("read"), {reply})), 0);
    QCOMPARE(str(m_bob->waitEvent(kNotice, read(reply)), "sender"), kAlice);

    // The author withdraws it across the link.
    const QJsonObject withdraw = m_alice->command(QStringLiteral("withdraw"), {id, "1"});
    QCOMPARE(retOf(withdraw), 0);
    QCOMPARE(
        num(m_alice->waitEvent(QStringLiteral("onWithDrawMessage"), keyed(withdraw)), "reason"),
        int(ZS_REASON_SUCCESS));
    const QJsonObject gone = m_bob->waitEvent(kNotice, [&](const QJsonObject &e) {
        return num(e, "msgType") == 25 && str(e, "msgId") == id;
    });
    QCOMPARE(str(gone, "sender"), kAlice);
}

void TestXmppFederation::sendsToTheOtherDomainWaitForIt()
{
    // alpha acknowledges at once what it passes on; beta's refusal comes later and must decide.
    const QJsonObject unknown = sendText(*m_alice, QStringLiteral("nobody@beta.test"), "hello?");
    QCOMPARE(num(unknown, "reason"), int(ZS_REASON_NOT_FOUND));
    // A domain nobody serves.
    const QJsonObject nowhere = sendText(*m_alice, QStringLiteral("bob@gamma.test"), "hello?");
    QCOMPARE(num(nowhere, "reason"), int(ZS_REASON_NOT_FOUND));

    // An offline account of the other domain: beta keeps it, carol gets it at her login.
    QString id;
    const QJsonObject kept
        = sendText(*m_alice, QStringLiteral("carol@beta.test"), QStringLiteral("later"), &id);
    QCOMPARE(num(kept, "reason"), int(ZS_REASON_SUCCESS));
    const auto carol = user(QStringLiteral("carol@beta.test"));
    QVERIFY(carol);
    const QJsonObject offline
        = carol->waitEvent(QStringLiteral("onReceiveOfflineMessage"), withId(id));
    QCOMPARE(str(offline, "sender"), kAlice);
    QCOMPARE(str(offline, "msgContent"), QStringLiteral("later"));
}

void TestXmppFederation::fileUploadedAtHomeIsFetchedAcross()
{
    const QString path = m_dir.filePath(QStringLiteral("quartal bericht.bin"));
    QByteArray bytes(300000, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()),
                                          bytes.size() / 4);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), qint64(bytes.size()));
    }
    const QJsonObject ret
        = m_alice->command(QStringLiteral("sendfile"), {kBob, path, "7", QStringLiteral("u")});
    QCOMPARE(retOf(ret), 0);
    const QJsonObject sent
        = m_alice->waitEvent(QStringLiteral("onSendMediaFile"), keyed(ret), 90000);
    QCOMPARE(num(sent, "reason"), int(ZS_REASON_SUCCESS));

    // The file stays at alice's server: the URL names alpha's address and https port.
    const QString msgId = str(ret, "msgId");
    const QJsonObject got = m_bob->waitEvent(QStringLiteral("onReceiveFile"), withId(msgId));
    QVERIFY2(!got.isEmpty(), "bob receives the file message");
    QCOMPARE(str(got, "sender"), kAlice);
    QCOMPARE(str(got, "receiver"), kBob);
    QCOMPARE(str(got, "fileName"), QStringLiteral("quartal bericht.bin"));
    const QUrl url(str(got, "fileUrl"));
    QCOMPARE(url.scheme(), QStringLiteral("https"));
    QCOMPARE(url.host(), XmppFederation::addressOf(QStringLiteral("alpha.test")));
    QCOMPARE(url.port(), qEnvironmentVariableIntValue("TQ_XMPP_HTTPS_PORT") + 1);

    const QString target = m_dir.filePath(QStringLiteral("from alice.bin"));
    const QJsonObject fetch = m_bob->command(QStringLiteral("download"),
                                             {kAlice, kBob, url.toString(), target, msgId, "7"});
    QCOMPARE(retOf(fetch), 0);
    const QJsonObject done
        = m_bob->waitEvent(QStringLiteral("onDownloadFileComplete"), keyed(fetch), 90000);
    QCOMPARE(num(done, "reason"), int(ZS_REASON_SUCCESS));
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == bytes);

    // The other way: bob's file stays at beta's address.
    const QJsonObject back = m_bob->command(QStringLiteral("sendfile"), {kAlice, target, "7", ""});
    QCOMPARE(retOf(back), 0);
    QCOMPARE(num(m_bob->waitEvent(QStringLiteral("onSendMediaFile"), keyed(back), 90000), "reason"),
             int(ZS_REASON_SUCCESS));
    const QJsonObject gotBack
        = m_alice->waitEvent(QStringLiteral("onReceiveFile"), withId(str(back, "msgId")));
    QCOMPARE(str(gotBack, "sender"), kBob);
    const QUrl backUrl(str(gotBack, "fileUrl"));
    QCOMPARE(backUrl.host(), XmppFederation::addressOf(QStringLiteral("beta.test")));
    const QString returned = m_dir.filePath(QStringLiteral("back from bob.bin"));
    const QJsonObject fetchBack
        = m_alice->command(QStringLiteral("download"),
                           {kBob, kAlice, backUrl.toString(), returned, str(back, "msgId"), "7"});
    QCOMPARE(retOf(fetchBack), 0);
    QCOMPARE(
        num(m_alice->waitEvent(QStringLiteral("onDownloadFileComplete"), keyed(fetchBack), 90000),
            "reason"),
        int(ZS_REASON_SUCCESS));
    QFile r(returned);
    QVERIFY(r.open(QIODevice::ReadOnly));
    QVERIFY(r.readAll() == bytes);
}

void TestXmppFederation::bobJoinsAlicesGroupAcross()
{
    const auto answer = [](PeerProcess &p, const QString &command, const QStringList &args,
                           const QString &event) {
        const QJsonObject ret = p.command(command, args);
        return retOf(ret) == 0 ? p.waitEvent(event, keyed(ret)) : QJsonObject();
    };
    const auto notice = [](int type, const QString &groupId, const QString &member = {}) {
        return [=](const QJsonObject &e) {
            return num(e, "type") == type && str(e, "groupId") == groupId
                && (member.isEmpty() || str(e, "member") == member);
        };
    };
    // alice's group lives on her domain's service; bob names it by the room's address.
    const QJsonObject made
        = answer(*m_alice, QStringLiteral("gcreate"), {"Across", "0", "Two companies"},
                 QStringLiteral("onCreateGroup"));
    QCOMPARE(num(made, "reason"), 200);
    const QString own = str(made, "groupId");
    const QString across = own + QStringLiteral("@conference.alpha.test");
    QCOMPARE(num(answer(*m_alice, QStringLiteral("ginvite"), {own, "join us", "0", kBob},
                        QStringLiteral("onInviteJoinGroup")),
                 "reason"),
             200);
    const QJsonObject invitation
        = m_bob->waitEvent(kGroupNotice, notice(ZS_GROUP_NOTICE_INVITE, across));
    QCOMPARE(str(invitation, "sender"), kAlice);
    QCOMPARE(num(answer(*m_bob, QStringLiteral("greplyinv"), {across, kAlice, "1"},
                        QStringLiteral("onReplyInviteJoinGroup")),
                 "reason"),
             200);
    QVERIFY(!m_alice->waitEvent(kGroupNotice, notice(ZS_GROUP_NOTICE_MEMBER_JOINED, own, kBob))
                 .isEmpty());
    const QJsonObject detail
        = answer(*m_bob, QStringLiteral("gdetail"), {across}, QStringLiteral("onQueryGroupDetail"));
    QCOMPARE(str(detail, "name"), QStringLiteral("Across"));

    // Group messages both ways.
    QJsonObject fromAlice = m_alice->command(QStringLiteral("send"), {own, "hello beta", "1", ""});
    QCOMPARE(num(m_alice->waitEvent(kSent, keyed(fromAlice)), "reason"), 200);
    const QJsonObject atBob = m_bob->waitEvent(kReceived, withId(str(fromAlice, "msgId")));
    QCOMPARE(str(atBob, "sender"), kAlice);
    QCOMPARE(str(atBob, "sessionId"), across);
    QCOMPARE(num(atBob, "sessionType"), 1);
    QJsonObject fromBob = m_bob->command(QStringLiteral("send"), {across, "hello alpha", "1", ""});
    QCOMPARE(num(m_bob->waitEvent(kSent, keyed(fromBob)), "reason"), 200);
    const QJsonObject atAlice = m_alice->waitEvent(kReceived, withId(str(fromBob, "msgId")));
    QCOMPARE(str(atAlice, "sender"), kBob);
    QCOMPARE(str(atAlice, "sessionId"), own);

    QCOMPARE(
        num(answer(*m_alice, QStringLiteral("gdismiss"), {own}, QStringLiteral("onDismissGroup")),
            "reason"),
        200);
    QVERIFY(!m_bob->waitEvent(kGroupNotice, notice(ZS_GROUP_NOTICE_DISMISSED, across)).isEmpty());
}

TQ_TEST_CLASS(TestXmppFederation)
#include "tst_xmpp_federation.moc"
