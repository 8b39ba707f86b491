// Presence, other users' states and profiles between users of the XMPP engine, each in a
// process of its own; and the session's way back after the server went away.

#include "XmppTest.h"
#include "ZSsdk.h"

#include <QJsonArray>
#include <QtTest>

#include <memory>

namespace {

const QString kPush = QStringLiteral("onReceiveFriendsPublishPresence");
const QString kState = QStringLiteral("onConnectState");

// A presence push with `name` at type/subtype (and note, when given).
PeerProcess::Match pushed(const QString &name, int type, int subtype = -1,
                          const QByteArray &note = QByteArray(), bool anyNote = true)
{
    return [=](const QJsonObject &e) {
        const QJsonObject r = recordOf(e, name);
        return !r.isEmpty() && r.value(QStringLiteral("number1")).toInt() == type
            && (subtype < 0 || r.value(QStringLiteral("number2")).toInt() == subtype)
            && (anyNote
                || r.value(QStringLiteral("text4")).toString() == QString::fromLatin1(note));
    };
}

PeerProcess::Match state(int code, int reason = -1)
{
    return [=](const QJsonObject &e) {
        return e.value(QStringLiteral("code")).toInt() == code
            && (reason < 0 || e.value(QStringLiteral("reason")).toInt() == reason);
    };
}

} // namespace

class TestXmppPresence : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void friendsPushListsTheRoster();
    void presenceChangesReachTheOtherExactly();
    void userStatesAnswerInTheOrderAsked();
    void profileRoundTripKeepsTextsNumbersAndVersion();
    void lostServerReportsAndReconnects();
    void uninitializeClosesTheStream();

private:
    // A started peer whose reconnection starts fast.
    std::unique_ptr<PeerProcess> peer(const QString &user, bool login = true);
};

void TestXmppPresence::initTestCase()
{
    QVERIFY2(XmppServer::port() > 0, "TQ_XMPP_PORT is set by CTest");
    QVERIFY(XmppServer::ensureStarted());
}

void TestXmppPresence::cleanup()
{
    // A failed reconnection test must not leave the other classes without a server.
    QVERIFY(XmppServer::ensureStarted());
}

std::unique_ptr<PeerProcess> TestXmppPresence::peer(const QString &user, bool login)
{
    auto p = std::make_unique<PeerProcess>(user);
    if (!p->start({QStringLiteral("TQ_XMPP_RECONNECT_MS=100")}))
        return nullptr;
    if (login && !p->loginOk(user))
        return nullptr;
    return p;
}

void TestXmppPresence::friendsPushListsTheRoster()
{
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(carol);
    const auto alice = peer(QStringLiteral("alice"));
    QVERIFY(alice);
    // One push with every contact of the shared roster, never the user herself; carol is
    // online (by then, or in a push right after), bob is not.
    const QJsonObject first = alice->waitEvent(kPush);
    QVERIFY(!first.isEmpty());
    QCOMPARE(recordOf(first, QStringLiteral("bob")).value(QStringLiteral("number1")).toInt(), 2);
    QVERIFY(!recordOf(first, QStringLiteral("carol")).isEmpty());
    QVERIFY(recordOf(first, QStringLiteral("alice")).isEmpty());
    if (recordOf(first, QStringLiteral("carol")).value(QStringLiteral("number1")).toInt() != 1)
        QVERIFY(!alice->waitEvent(kPush, pushed(QStringLiteral("carol"), 1)).isEmpty());
}

void TestXmppPresence::presenceChangesReachTheOtherExactly()
{
    const auto bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    const auto alice = peer(QStringLiteral("alice"));
    QVERIFY(alice);
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 1)).isEmpty());

    // A non-ASCII note in UTF-8, then bytes of another code page (GBK) that are not UTF-8.
    const QByteArray utf8 = QStringLiteral("开会中, zurück um 3 ✓").toUtf8();
    QJsonObject ret
        = alice->command(QStringLiteral("publish"),
                         {QStringLiteral("3"), QStringLiteral("1"), QString::fromUtf8(utf8)});
    QCOMPARE(retOf(ret), 0);
    QCOMPARE(alice->waitEvent(QStringLiteral("onPublishPresence"), keyed(ret))
                 .value(QStringLiteral("reason"))
                 .toInt(),
             200);
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 3, 1, utf8, false)).isEmpty());

    const QByteArray gbk = QByteArray::fromHex("d5fdd4dabfaabbe12021");
    ret = alice->command(QStringLiteral("publish"),
                         {QStringLiteral("4"), QStringLiteral("0"),
                          QString::fromLatin1(gbk.toHex()), QStringLiteral("hex")});
    QCOMPARE(retOf(ret), 0);
    const QJsonObject away
        = bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 4, 0, gbk, false));
    QVERIFY(!away.isEmpty());
    // A change is pushed as one record.
    QCOMPARE(away.value(QStringLiteral("states")).toArray().size(), 1);

    QCOMPARE(retOf(alice->command(QStringLiteral("logout"))), 0);
    QVERIFY(!alice->waitEvent(QStringLiteral("onLogOut")).isEmpty());
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 2, 0, {}, false)).isEmpty());
    // Without a session nothing is published.
    QCOMPARE(retOf(alice->command(QStringLiteral("publish"), {QStringLiteral("1")})),
             int(ZS_ERR_NOT_LOGGED_IN));
}

void TestXmppPresence::userStatesAnswerInTheOrderAsked()
{
    const auto bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    const auto alice = peer(QStringLiteral("alice"), false);
    QVERIFY(alice);
    QCOMPARE(retOf(alice->command(QStringLiteral("userstate"), {QStringLiteral("bob")})),
             int(ZS_ERR_NOT_LOGGED_IN));
    QVERIFY(alice->loginOk(QStringLiteral("alice")));
    QCOMPARE(
        retOf(bob->command(QStringLiteral("publish"),
                           {QStringLiteral("4"), QStringLiteral("2"), QStringLiteral("lunch")})),
        0);
    QVERIFY(!alice->waitEvent(kPush, pushed(QStringLiteral("bob"), 4, 2)).isEmpty());

    const QStringList names{QStringLiteral("carol"), QStringLiteral("nobody"),
                            QStringLiteral("bob"), QStringLiteral("alice"), QStringLiteral("bob")};
    const QJsonObject ret = alice->command(QStringLiteral("userstate"), names);
    QCOMPARE(retOf(ret), 0);
    const QJsonObject answer = alice->waitEvent(QStringLiteral("onGetUserState"), keyed(ret));
    QCOMPARE(answer.value(QStringLiteral("reason")).toInt(), 200);
    const QJsonArray states = answer.value(QStringLiteral("states")).toArray();
    QCOMPARE(states.size(), names.size());
    // carol is not logged in here (offline contact), "nobody" is not a contact (unknown).
    const int types[] = {2, 0, 4, 1, 4};
    for (int i = 0; i < names.size(); ++i) {
        const QJsonObject s = states[i].toObject();
        QCOMPARE(s.value(QStringLiteral("text1")).toString(), names[i]);
        QCOMPARE(s.value(QStringLiteral("number1")).toInt(), types[i]);
    }
    QCOMPARE(states[2].toObject().value(QStringLiteral("text4")).toString(),
             QStringLiteral("lunch"));

    // No list: 400 and no records.
    const QJsonObject none = alice->command(QStringLiteral("userstate"));
    QCOMPARE(retOf(none), 0);
    const QJsonObject refused = alice->waitEvent(QStringLiteral("onGetUserState"), keyed(none));
    QCOMPARE(refused.value(QStringLiteral("reason")).toInt(), 400);
    QVERIFY(refused.value(QStringLiteral("states")).toArray().isEmpty());
}

void TestXmppPresence::profileRoundTripKeepsTextsNumbersAndVersion()
{
    const auto alice = peer(QStringLiteral("alice"));
    QVERIFY(alice);
    // text1 is 43 three-byte characters: exactly the 129 bytes of its field, without a NUL.
    const QString longName = QString(43, QChar(0x738B));
    const QString signature = QStringLiteral("Grüße — 签名 ✓\nzweite Zeile");
    const auto set = [&](const QString &name, const QString &number) {
        const QJsonObject ret = alice->command(QStringLiteral("setinfo"),
                                               {QStringLiteral("7"), QStringLiteral("-8"),
                                                QStringLiteral("9"), name, number, signature});
        if (retOf(ret) != 0)
            return QJsonObject();
        return alice->waitEvent(QStringLiteral("onSetPersonInfo"), keyed(ret));
    };
    const QJsonObject first = set(longName, QStringLiteral("+86 10 5555"));
    QCOMPARE(first.value(QStringLiteral("reason")).toInt(), 200);
    const QJsonObject second = set(QStringLiteral("Älice Wáng"), QStringLiteral("8001"));
    QCOMPARE(second.value(QStringLiteral("reason")).toInt(), 200);
    const quint64 v1 = first.value(QStringLiteral("version")).toString().toULongLong();
    const quint64 v2 = second.value(QStringLiteral("version")).toString().toULongLong();
    QVERIFY(v1 > 0);
    QVERIFY2(v2 > v1, qPrintable(QStringLiteral("%1 then %2").arg(v1).arg(v2)));

    // bob logs in afterwards: the push fills alice's display name and number from her profile.
    const auto bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    QVERIFY(!bob->waitEvent(kPush,
                            [](const QJsonObject &e) {
                                const QJsonObject r = recordOf(e, QStringLiteral("alice"));
                                return r.value(QStringLiteral("text2")).toString()
                                    == QStringLiteral("Älice Wáng")
                                    && r.value(QStringLiteral("text3")).toString()
                                    == QStringLiteral("8001");
                            })
                 .isEmpty());

    // A change while bob is online reaches him through alice's presence.
    const QJsonObject third = set(QStringLiteral("Älice Wáng"), QStringLiteral("8002"));
    QCOMPARE(third.value(QStringLiteral("reason")).toInt(), 200);
    QVERIFY(third.value(QStringLiteral("version")).toString().toULongLong() > v2);
    QVERIFY(!bob->waitEvent(
                    kPush,
                    [](const QJsonObject &e) {
                        return recordOf(e, QStringLiteral("alice")).value(QStringLiteral("text3"))
                            == QStringLiteral("8002");
                    })
                 .isEmpty());

    const QJsonObject ret = bob->command(QStringLiteral("getinfo"), {QStringLiteral("alice")});
    QCOMPARE(retOf(ret), 0);
    const QJsonObject info = bob->waitEvent(QStringLiteral("onGetPersonInfo"), keyed(ret));
    QCOMPARE(info.value(QStringLiteral("reason")).toInt(), 200);
    QCOMPARE(info.value(QStringLiteral("text1")).toString(), QStringLiteral("Älice Wáng"));
    QCOMPARE(info.value(QStringLiteral("text2")).toString(), QStringLiteral("8002"));
    QCOMPARE(info.value(QStringLiteral("text3")).toString(), signature);
    QCOMPARE(info.value(QStringLiteral("number1")).toInt(), 7);
    QCOMPARE(info.value(QStringLiteral("number2")).toInt(), -8);
    QCOMPARE(info.value(QStringLiteral("number3")).toInt(), 9);

    // The long name was stored whole and comes back cut at a character inside 128 bytes.
    QCOMPARE(set(longName, QString()).value(QStringLiteral("reason")).toInt(), 200);
    const QJsonObject again = bob->command(QStringLiteral("getinfo"), {QStringLiteral("alice")});
    const QJsonObject cut = bob->waitEvent(QStringLiteral("onGetPersonInfo"), keyed(again));
    QCOMPARE(cut.value(QStringLiteral("text1")).toString(), QString(42, QChar(0x738B)));

    // No profile stored: 404 without a record; no record given: 400.
    const QJsonObject missing = bob->command(QStringLiteral("getinfo"), {QStringLiteral("nobody")});
    const QJsonObject notFound = bob->waitEvent(QStringLiteral("onGetPersonInfo"), keyed(missing));
    QCOMPARE(notFound.value(QStringLiteral("reason")).toInt(), 404);
    QVERIFY(!notFound.contains(QStringLiteral("text1")));
    const QJsonObject null = bob->command(QStringLiteral("setinfo"), {QStringLiteral("null")});
    QCOMPARE(bob->waitEvent(QStringLiteral("onSetPersonInfo"), keyed(null))
                 .value(QStringLiteral("reason"))
                 .toInt(),
             400);
}

void TestXmppPresence::lostServerReportsAndReconnects()
{
    const auto bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(carol);
    const auto alice = peer(QStringLiteral("alice"));
    QVERIFY(alice);
    QCOMPARE(retOf(alice->command(
                 QStringLiteral("publish"),
                 {QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("in a call")})),
             0);
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 3, 2)).isEmpty());

    QVERIFY(XmppServer::stop());
    // The loss is a failure with the network reason; the session is not ended.
    QVERIFY(!alice->waitEvent(kState, state(ZS_STATE_FAILED, ZS_ERR_NETWORK)).isEmpty());
    QVERIFY(!bob->waitEvent(kState, state(ZS_STATE_FAILED, ZS_ERR_NETWORK)).isEmpty());
    QVERIFY(!carol->waitEvent(kState, state(ZS_STATE_FAILED, ZS_ERR_NETWORK)).isEmpty());
    // carol gives up while the server is away: answered at once, and no more attempts.
    QCOMPARE(retOf(carol->command(QStringLiteral("logout"))), 0);
    QCOMPARE(carol->waitEvent(QStringLiteral("onLogOut")).value(QStringLiteral("reason")).toInt(),
             200);
    const int carolStates = carol->seen(kState).size();
    QVERIFY(!alice->waitEvent(kState, state(ZS_STATE_CONNECTING)).isEmpty());

    QVERIFY(XmppServer::start());
    QVERIFY(!alice->waitEvent(kState, state(ZS_STATE_CONNECTED, 200)).isEmpty());
    QVERIFY(!bob->waitEvent(kState, state(ZS_STATE_CONNECTED, 200)).isEmpty());
    QVERIFY(alice->seen(QStringLiteral("onLogOut")).isEmpty());

    // A new stream carries the presence published before: bob sees alice busy again without
    // her publishing anything.
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 3, 2)).isEmpty());
    QCOMPARE(
        retOf(alice->command(QStringLiteral("publish"),
                             {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("back")})),
        0);
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 1, 0, "back", false)).isEmpty());

    // Every attempt of alice's is "connecting" followed by its outcome, and every failure
    // meanwhile is the network's (a refused stream resumption would show as 500).
    const QList<QJsonObject> states = alice->seen(kState);
    QVERIFY(states.size() >= 5);
    for (int i = 2; i < states.size(); ++i) {
        const int code = states[i].value(QStringLiteral("code")).toInt();
        if (code == ZS_STATE_CONNECTING && i + 1 < states.size())
            QVERIFY(states[i + 1].value(QStringLiteral("code")).toInt() != ZS_STATE_CONNECTING);
        if (code == ZS_STATE_FAILED)
            QCOMPARE(states[i].value(QStringLiteral("reason")).toInt(), int(ZS_ERR_NETWORK));
    }
    // carol, logged out, never tried again.
    QCOMPARE(carol->seen(kState).size(), carolStates);

    QCOMPARE(retOf(alice->command(QStringLiteral("logout"))), 0);
    QCOMPARE(alice->waitEvent(QStringLiteral("onLogOut")).value(QStringLiteral("reason")).toInt(),
             200);
}

void TestXmppPresence::uninitializeClosesTheStream()
{
    const auto bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    const auto alice = peer(QStringLiteral("alice"));
    QVERIFY(alice);
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 1)).isEmpty());
    QCOMPARE(retOf(alice->command(QStringLiteral("uninit"))), 0);
    // A stream only dropped would be kept by the server for resumption, and alice would
    // stay online to bob for minutes.
    QVERIFY(!bob->waitEvent(kPush, pushed(QStringLiteral("alice"), 2)).isEmpty());
    // Nothing is answered after UnInitialize returned.
    QCOMPARE(retOf(alice->command(QStringLiteral("ping"))), 0);
    QVERIFY(alice->seen(QStringLiteral("onLogOut")).isEmpty());
    QCOMPARE(alice->seen(kState).size(), 2);
}

TQ_TEST_CLASS(TestXmppPresence)
#include "tst_xmpp_presence.moc"
