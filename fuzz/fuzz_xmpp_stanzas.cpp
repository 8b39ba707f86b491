// What the XMPP engine reads from the network: stanzas (messages, carbons, markers,
// retractions, presences, roster, vCards, private storage, MUC invitations, presences and
// room information) and the stream chunks the messages side counts for acknowledgements.
// Each input runs on a fresh session whose client has logged in over a socket pair with
// nothing behind it; the stanzas go through QXmpp's own dispatch, so every extension and
// signal the features use sees them as from a server.
//
// Input: "#recv\n" or "#sent\n" and a stream chunk as the client logs it; else stanzas (as
// children of a jabber:client stream). An IQ id "$word" stands for the id of the last IQ the
// client sent whose text holds word ("$ping", "$top-contacts", "$jabber:iq:roster",
// "$storage:bookmarks", "$disco#info", "$vcard-temp", ...); "$N" for the N-th it sent. Besides
// what the session asks by itself, each input starts with these requests: top contacts,
// bob's profile, the own groups, a public group search, the detail and the members of
// g0123456789. TQ_FUZZ_XMPP_SHOW=1 shows what the client sends and which answers come.
//
// The callbacks check the records: every text NUL-terminated within its field, counts and
// arrays consistent.

#include "XmppEngine.h"
#include "XmppGroups.h"
#include "XmppMessages.h"
#include "XmppPresence.h"
#include "XmppSession.h"

#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppLogger.h>
#include <QXmppOutgoingClient.h>
#include <QXmppPresence.h>

#include <QCoreApplication>
#include <QDomDocument>
#include <QRegularExpression>
#include <QSslSocket>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

#define TQ_FUZZ_CHECK(cond) ((cond) ? void(0) : checkFailed(#cond, __FILE__, __LINE__))

namespace {

using namespace zsxmpp;

[[noreturn]] void checkFailed(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

// TQ_FUZZ_XMPP_SHOW=1: which answers an input reaches, for writing seeds.
void show(const char *what, const char *text = "")
{
    static const bool on = qEnvironmentVariableIsSet("TQ_FUZZ_XMPP_SHOW");
    if (on)
        std::fprintf(stderr, "xmpp-fuzz: %s %s\n", what, text);
}

template<std::size_t N> void checkText(const char (&field)[N])
{
    TQ_FUZZ_CHECK(strnlen(field, N) < N);
}

void checkMessage(const ZS_MessageInfo *m)
{
    TQ_FUZZ_CHECK(m != nullptr);
    show("message", m->msgId);
    checkText(m->msgId);
    checkText(m->dateCreated);
    checkText(m->sender);
    checkText(m->receiver);
    checkText(m->msgContent);
    checkText(m->userData);
    checkText(m->auxText1);
    checkText(m->fileName);
    checkText(m->sessionId);
    checkText(m->fileUrl);
    checkText(m->auxText2);
    checkText(m->title);
    checkText(m->imgPath);
    checkText(m->desc);
    checkText(m->url);
    TQ_FUZZ_CHECK(m->fileSize >= 0 && m->originFileSize >= 0);
}

void checkStates(int count, const ZS_PersonState *states)
{
    TQ_FUZZ_CHECK(count >= 0 && (count == 0 || states != nullptr));
    show("states");
    for (int i = 0; i < count; ++i) {
        checkText(states[i].text1);
        checkText(states[i].text2);
        checkText(states[i].text3);
        checkText(states[i].text4);
    }
}

// The texts every notice record begins with.
struct NoticeHead
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
};

void checkNotice(const ZS_GroupNotice *notice)
{
    TQ_FUZZ_CHECK(notice != nullptr);
    show("group notice");
    const int type = notice->type;
    TQ_FUZZ_CHECK((type >= ZS_GROUP_NOTICE_REQUEST_JOIN && type <= ZS_GROUP_NOTICE_MODIFIED)
                  || (type >= ZS_GROUP_NOTICE_ROLE && type <= ZS_GROUP_NOTICE_JOINED));
    if (!notice->detail)
        return;
    const char *base = static_cast<const char *>(notice->detail);
    if (type == ZS_GROUP_NOTICE_INVITE) {
        const auto *invite = static_cast<const ZS_GroupInviteNotice *>(notice->detail);
        checkText(invite->extraText1);
        checkText(invite->extraText2);
        base += offsetof(ZS_GroupInviteNotice, sender);
    }
    const auto *head = reinterpret_cast<const NoticeHead *>(base);
    checkText(head->sender);
    checkText(head->groupId);
    checkText(head->groupName);
    checkText(head->dateCreated);
    if (type != ZS_GROUP_NOTICE_DISMISSED)
        checkText(head->member);
}

void checkOwnGroups(unsigned int, int, int count, const ZS_GroupSimpleInfo *groups)
{
    TQ_FUZZ_CHECK(count >= 0 && (count == 0 || groups != nullptr));
    show("own groups");
    for (int i = 0; i < count; ++i) {
        checkText(groups[i].groupId);
        checkText(groups[i].name);
        checkText(groups[i].simpleText3);
    }
}

void checkFound(int count, const ZS_GroupSearchInfo *groups)
{
    TQ_FUZZ_CHECK(count >= 0 && (count == 0 || groups != nullptr));
    show("found groups");
    for (int i = 0; i < count; ++i) {
        checkText(groups[i].groupId);
        checkText(groups[i].name);
        checkText(groups[i].searchText3);
        checkText(groups[i].searchText4);
    }
}

void checkDetail(unsigned int, int, const ZS_GroupDetailInfo *info)
{
    if (!info)
        return;
    show("group detail");
    checkText(info->groupId);
    checkText(info->name);
    checkText(info->detailText3);
    checkText(info->province);
    checkText(info->city);
    checkText(info->declared);
    checkText(info->detailText9);
    checkText(info->groupDomain);
}

void checkMembers(unsigned int, int, const char *groupId, int count,
                  const ZS_GroupMemberInfo *members)
{
    TQ_FUZZ_CHECK(groupId != nullptr);
    TQ_FUZZ_CHECK(count >= 0 && (count == 0 || members != nullptr));
    show("members");
    for (int i = 0; i < count; ++i) {
        checkText(members[i].member);
        checkText(members[i].memberText);
    }
}

void checkCard(unsigned int, int, const ZS_GroupMemberCard *card)
{
    TQ_FUZZ_CHECK(card != nullptr);
    show("member card", card->cardText1);
    checkText(card->cardText1);
    checkText(card->cardText2);
    checkText(card->cardText3);
    checkText(card->cardText4);
    checkText(card->cardText5);
    checkText(card->cardText6);
}

ZS_GeneralCallBack generalTable()
{
    ZS_GeneralCallBack t{};
    t.onGetPersonInfo = [](unsigned int, int, const ZS_PersonInfo *info) {
        if (!info)
            return;
        show("person info");
        checkText(info->text1);
        checkText(info->text2);
        checkText(info->text3);
    };
    t.onGetUserState = [](unsigned int, int, int count, const ZS_PersonState *states) {
        checkStates(count, states);
    };
    t.onReceiveFriendsPublishPresence = checkStates;
    return t;
}

ZS_MessageCallBack messageTable()
{
    ZS_MessageCallBack t{};
    t.onSendTextMessage = [](unsigned int, int, const ZS_MessageInfo *m) {
        checkMessage(m);
    };
    t.onReceiveMessage = checkMessage;
    t.onReceiveOfflineMessage = checkMessage;
    t.onReceiveFile = checkMessage;
    t.onReceiveOpreateNoticeMessage = checkMessage;
    t.onOfflineMessageCount = [](int count) {
        TQ_FUZZ_CHECK(count >= 0);
        show("offline count");
    };
    t.onDeleteMessage = [](unsigned int, int, int, const char *id) {
        TQ_FUZZ_CHECK(id != nullptr);
    };
    t.onGetTopContact = [](unsigned int, int, int count, const char *const *contacts) {
        TQ_FUZZ_CHECK(count >= 0 && count <= 1000 && (count == 0 || contacts != nullptr));
        show("top contacts");
        for (int i = 0; i < count; ++i)
            TQ_FUZZ_CHECK(contacts[i] != nullptr && std::strlen(contacts[i]) < 1 << 20);
    };
    t.onReceiveGroupNoticeMessage = checkNotice;
    t.onQueryOwnGroup = checkOwnGroups;
    t.onCreateGroup = checkDetail;
    t.onQueryGroupDetail = checkDetail;
    t.onQueryGroupMember = checkMembers;
    t.onQueryGroupMemberCard = checkCard;
    t.onModifyGroupMemberCard = checkCard;
    t.onSearchPublicGroup = [](unsigned int, int, int, const char *keyword, int count,
                               const ZS_GroupSearchInfo *groups) {
        TQ_FUZZ_CHECK(keyword != nullptr);
        checkFound(count, groups);
    };
    t.onSearchPublicGroupPaging = [](unsigned int, int, int, const char *keyword, int count,
                                     const ZS_GroupSearchInfo *groups, int) {
        TQ_FUZZ_CHECK(keyword != nullptr);
        checkFound(count, groups);
    };
    return t;
}

// QXmpp's own dispatch of a received element (extensions first, then the client's signals);
// protected in the stream, reached through a derived class's member pointer.
struct StreamAccess : QXmppOutgoingClient
{
    using QXmppOutgoingClient::handleStanza;
};

void start()
{
    static int argc = 1;
    static char name[] = "fuzz_xmpp_stanzas";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *const app = new QCoreApplication(argc, argv); // never destroyed
    Q_UNUSED(app)
    // QXmpp warns about every malformed stanza; at fuzzing rates that is only noise.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // invoke() answers only while the engine runs; its own idle session stays on its thread.
    Engine::get().start();
    Engine::get().phase.store(Phase::Connected);
    static const ZS_GeneralCallBack general = generalTable();
    static const ZS_MessageCallBack messages = messageTable();
    Engine::get().tables[0].store(&general);
    Engine::get().tables[2].store(&messages);
}

// Properties of the static readers, besides what the callbacks check.
void checkReaders(const QDomElement &stanza)
{
    if (stanza.tagName() == QLatin1String("presence")) {
        QXmppPresence presence;
        presence.parse(stanza);
        // The note fills text4 of a state record.
        TQ_FUZZ_CHECK(Presence::fromPresence(presence).note.size()
                      < int(sizeof(ZS_PersonState::text4)));
    }
    for (QDomElement e = stanza.firstChildElement(QStringLiteral("vCard")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("vCard")))
        (void)Presence::toVCard(Presence::fromVCard(e), e); // keeps what it does not know
}

// The engine's IQs as the client writes them: what "$word" in an input's IQ id stands for.
struct SentIqs
{
    QList<QPair<QString, QString>> list; // id, text

    void watch(QXmppLogger *logger)
    {
        QObject::connect(logger, &QXmppLogger::message, logger,
                         [this](QXmppLogger::MessageType type, const QString &text) {
                             if (type == QXmppLogger::SentMessage)
                                 sent(text);
                         });
    }
    bool quiet = true; // the login's exchange holds the password
    void sent(const QString &text)
    {
        static const QRegularExpression iqId(QStringLiteral("^<iq\\b[^>]*\\bid=[\"']([^\"']*)"));
        if (!quiet)
            show("sent", text.left(160).toUtf8().constData());
        const auto match = iqId.match(text);
        if (match.hasMatch())
            list.append({match.captured(1), text});
    }
    // "$N": the N-th (modulo their count); "$word": the last one whose text holds word.
    QString resolve(const QString &key) const
    {
        if (list.isEmpty())
            return key;
        bool number = false;
        const uint n = key.mid(1).toUInt(&number);
        if (number)
            return list.at(int(n % uint(list.size()))).first;
        for (int i = list.size() - 1; i >= 0; --i)
            if (list.at(i).second.contains(key.mid(1)))
                return list.at(i).first;
        return key;
    }
    // "$word" in an archive result's queryid: the query id of the last IQ that holds word.
    QString resolveQuery(const QString &key) const
    {
        static const QRegularExpression queryId(QStringLiteral("queryid=[\"']([^\"']*)"));
        for (int i = list.size() - 1; i >= 0; --i)
            if (list.at(i).second.contains(key.mid(1))) {
                const auto match = queryId.match(list.at(i).second);
                if (match.hasMatch())
                    return match.captured(1);
            }
        return key;
    }
};

// Hands stanza text to the client as if read from its stream.
void feed(QXmppOutgoingClient *stream, const QString &stanzas, const SentIqs *iqs)
{
    QDomDocument doc;
    const QString text = QStringLiteral("<stream:stream xmlns='jabber:client' "
                                        "xmlns:stream='http://etherx.jabber.org/streams'>")
        + stanzas + QStringLiteral("</stream:stream>");
    if (!doc.setContent(text, true))
        return;
    const auto handle = &StreamAccess::handleStanza;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement()) {
        const QString tag = e.tagName();
        if (iqs) {
            // The stream's negotiation is QXmpp's; the engine reads stanzas.
            if (tag != QLatin1String("message") && tag != QLatin1String("presence")
                && tag != QLatin1String("iq"))
                continue;
            const QString id = e.attribute(QStringLiteral("id"));
            if (tag == QLatin1String("iq") && id.startsWith(QLatin1Char('$')))
                e.setAttribute(QStringLiteral("id"), iqs->resolve(id));
            QDomElement result = e.firstChildElement(QStringLiteral("result"));
            if (!result.isNull() && result.attribute(QStringLiteral("queryid")).startsWith('$'))
                result.setAttribute(QStringLiteral("queryid"),
                                    iqs->resolveQuery(result.attribute(QStringLiteral("queryid"))));
            checkReaders(e);
        }
        (stream->*handle)(e);
        QCoreApplication::processEvents();
    }
}

// A client logged in over one end of a socket pair, nothing reading the other: connected as
// far as the features can tell, and all it writes is logged only.
QXmppClient *loggedInClient(SentIqs &iqs, int &peer)
{
    auto *client = new QXmppClient;
    client->configuration().setJid(QStringLiteral("alice@tq.test"));
    client->configuration().setResource(QStringLiteral("tq-fuzz"));
    client->configuration().setPassword(QStringLiteral("fuzz"));
    auto *logger = new QXmppLogger(client);
    logger->setLoggingType(QXmppLogger::SignalLogging);
    logger->setMessageTypes(QXmppLogger::SentMessage);
    client->setLogger(logger);
    iqs.watch(logger);
    // The messages side installs a logger of its own.
    QObject::connect(client, &QXmppClient::loggerChanged, client, [&iqs](QXmppLogger *next) {
        if (next)
            iqs.watch(next);
    });

    auto *stream = client->findChild<QXmppOutgoingClient *>();
    auto *socket = stream ? stream->findChild<QSslSocket *>() : nullptr;
    TQ_FUZZ_CHECK(socket != nullptr);
    int fds[2];
    TQ_FUZZ_CHECK(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) == 0);
    TQ_FUZZ_CHECK(socket->setSocketDescriptor(fds[0]));
    peer = fds[1];
    feed(stream,
         QStringLiteral("<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
                        "<mechanism>PLAIN</mechanism></mechanisms></stream:features>"
                        "<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>"
                        "<stream:features><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/>"
                        "</stream:features>"),
         nullptr);
    const QString bindId = iqs.resolve(QStringLiteral("$urn:ietf:params:xml:ns:xmpp-bind"));
    iqs.list.clear();
    iqs.quiet = false;
    feed(stream,
         QStringLiteral("<iq type='result' id='%1'><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'>"
                        "<jid>alice@tq.test/tq-fuzz</jid></bind></iq>")
             .arg(bindId),
         nullptr);
    TQ_FUZZ_CHECK(client->isConnected());
    return client;
}

void run(const QByteArray &input)
{
    show("input", QByteArray::number(input.size()).constData());
    SentIqs iqs;
    int peer = -1;
    QXmppClient *client = loggedInClient(iqs, peer);
    auto *stream = client->findChild<QXmppOutgoingClient *>();
    Session *session = new Session;
    session->adoptForTests(client); // the session owns the client from here on
    QCoreApplication::processEvents(); // the offline-delivery ping
    // Requests whose answers the input may give.
    session->messages().getTopContacts(1);
    session->presence().getInfo(2, QStringLiteral("bob@tq.test"));
    session->groups().queryOwn(3, QString(), 50);
    session->groups().search(4, 0, QStringLiteral("team"), 1, 20, true);
    session->groups().detail(5, QStringLiteral("g0123456789"));
    session->groups().members(6, QStringLiteral("g0123456789"), QString(), 50);
    session->groups().queryCard(7, QStringLiteral("g0123456789"), QStringLiteral("bob"));

    if (input.startsWith("#recv\n") || input.startsWith("#sent\n")) {
        client->logger()->log(input.startsWith("#recv") ? QXmppLogger::ReceivedMessage
                                                        : QXmppLogger::SentMessage,
                              QString::fromUtf8(input.mid(6)));
        QCoreApplication::processEvents();
    } else {
        feed(stream, QString::fromUtf8(input), &iqs);
    }
    // As the engine ends a session: what still waits is answered, then the client goes.
    session->shutdown(0);
    delete session;
    ::close(peer);
    QCoreApplication::processEvents();
    // Outside an event loop nothing else deletes what was handed to deleteLater().
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Stanzas beyond this are cut by the server (Prosody's stanza size limit is 256 KiB).
    if (size > 256 * 1024)
        return 0;
    run(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    return 0;
}
