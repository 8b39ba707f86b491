#include "XmppMessages.h"

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppGroups.h"
#include "XmppSession.h"
#include "XmppStanza.h"

#include <QXmppClient.h>
#include <QXmppClientExtension.h>
#include <QXmppElement.h>
#include <QXmppIq.h>
#include <QXmppLogger.h>
#include <QXmppMessage.h>
#include <QXmppUtils.h>

#include <QDateTime>
#include <QDomElement>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QUuid>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <deque>
#include <vector>

namespace zsxmpp {

namespace {

const QString nsSm = QStringLiteral("urn:xmpp:sm:3");
const QString nsTq = QStringLiteral("urn:tq:message:0");
const QString nsCarbons = QStringLiteral("urn:xmpp:carbons:2");
const QString nsFasten = QStringLiteral("urn:xmpp:fasten:0");
const QString nsRetract = QStringLiteral("urn:xmpp:message-retract:0");
const QString nsOob = QStringLiteral("jabber:x:oob");
const QString nsFileMeta = QStringLiteral("urn:xmpp:file:metadata:0");
const QString nsHints = QStringLiteral("urn:xmpp:hints");
const QString nsTop = QStringLiteral("urn:tq:top-contacts:0");
const QString nsPing = QStringLiteral("urn:xmpp:ping");

enum : int {
    TypeText = 1,
    TypeFile = 7,
    NoticeWithdrawn = 25,
    NoticeRead = 26,
};

constexpr int AckTimeoutMs = 60000; // a connected server acknowledges within a round trip
constexpr int IqTimeoutMs = 30000;
constexpr int KnownLimit = 5000; // ids remembered for markers, retraction and deletion
constexpr int TopContactLimit = 1000;

QXmppElement findExtension(const QXmppMessage &message, const QString &tag, const QString &ns)
{
    const QXmppElementList list = message.extensions();
    for (const QXmppElement &e : list)
        if (e.tagName() == tag && e.attribute(QStringLiteral("xmlns")) == ns)
            return e;
    return QXmppElement();
}

QString idOf(const QXmppMessage &m)
{
    return m.id().isEmpty() ? m.originId() : m.id();
}

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// What the envelope adds to a body: the engine's type and user data, and a file.
struct Content
{
    int type = TypeText;
    QString userData;
    bool isFile = false;
    QString url;
    QString fileName;
    qint64 size = 0;
};

Content contentOf(const QXmppMessage &m)
{
    Content c;
    const QXmppElement oob = findExtension(m, QStringLiteral("x"), nsOob);
    c.url = oob.isNull() ? m.outOfBandUrl() : oob.firstChildElement(QStringLiteral("url")).value();
    const QXmppElement file = findExtension(m, QStringLiteral("file"), nsFileMeta);
    c.isFile = !c.url.isEmpty();
    if (c.isFile) {
        c.type = TypeFile;
        c.fileName = file.firstChildElement(QStringLiteral("name")).value();
        if (c.fileName.isEmpty() && !oob.isNull())
            c.fileName = oob.firstChildElement(QStringLiteral("desc")).value();
        if (c.fileName.isEmpty())
            c.fileName = c.url.section(QLatin1Char('/'), -1).section(QLatin1Char('?'), 0, 0);
        c.size
            = qMax<qint64>(0, file.firstChildElement(QStringLiteral("size")).value().toLongLong());
    }
    const QXmppElement tq = findExtension(m, QStringLiteral("tq"), nsTq);
    if (!tq.isNull()) {
        bool ok = false;
        const int type = tq.attribute(QStringLiteral("type")).toInt(&ok);
        if (ok)
            c.type = type;
        c.userData = tq.firstChildElement(QStringLiteral("userdata")).value();
    }
    return c;
}

// XEP-0198 counts stanzas; QXmpp 1.4 acknowledges nothing per stanza to its user, so the
// engine watches the stream as QXmpp logs it (in memory only; the text is parsed and dropped,
// never written, since it holds the authentication exchange). One logged chunk is what QXmpp
// wrote or parsed at once; its top-level elements are what counts.
struct TopElement
{
    QString name;
    QString ns;
    QXmlStreamAttributes attributes;
};

std::vector<TopElement> topElements(const QString &chunk)
{
    static const QRegularExpression declaration(QStringLiteral("^\\s*<\\?xml[^>]*\\?>"));
    static const QRegularExpression streamOpen(QStringLiteral("<stream:stream\\b[^>]*>"));
    QString body = chunk;
    body.remove(declaration);
    body.remove(streamOpen);
    body.remove(QStringLiteral("</stream:stream>"));
    QXmlStreamReader reader(QStringLiteral("<w xmlns='jabber:client' "
                                           "xmlns:stream='http://etherx.jabber.org/streams'>")
                            + body + QStringLiteral("</w>"));
    std::vector<TopElement> out;
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth == 2)
                out.push_back({reader.name().toString(), reader.namespaceUri().toString(),
                               reader.attributes()});
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return out;
}

bool isStanza(const TopElement &e)
{
    return e.ns == nsClient
        && (e.name == QLatin1String("message") || e.name == QLatin1String("iq")
            || e.name == QLatin1String("presence"));
}

// Reason of a message that came back as an error.
int reasonOf(const QXmppStanza::Error &error)
{
    switch (error.condition()) {
    case QXmppStanza::Error::ItemNotFound:
    case QXmppStanza::Error::RecipientUnavailable:
    case QXmppStanza::Error::ServiceUnavailable: // an unknown account, as RFC 6121 answers
    case QXmppStanza::Error::RemoteServerNotFound:
    case QXmppStanza::Error::Gone:
    case QXmppStanza::Error::JidMalformed:
        return ZS_REASON_NOT_FOUND;
    case QXmppStanza::Error::Forbidden:
    case QXmppStanza::Error::NotAllowed:
    case QXmppStanza::Error::NotAuthorized:
    case QXmppStanza::Error::PolicyViolation:
    case QXmppStanza::Error::SubscriptionRequired:
        return ZS_REASON_FORBIDDEN;
    case QXmppStanza::Error::BadRequest:
    case QXmppStanza::Error::NotAcceptable:
        return ZS_REASON_BAD_REQUEST;
    case QXmppStanza::Error::RemoteServerTimeout:
        return ZS_REASON_TIMEOUT;
    default:
        return ZS_REASON_SERVER_ERROR;
    }
}

// <a h='..'/> of XEP-0198, written unasked; not a stanza, so QXmpp neither counts it nor asks
// for its acknowledgement.
class Ack : public QXmppStanza
{
public:
    quint32 h = 0;
    bool isXmppStanza() const override { return false; }
    void parse(const QDomElement &) override { }
    void toXml(QXmlStreamWriter *writer) const override
    {
        writer->writeStartElement(QStringLiteral("a"));
        writer->writeDefaultNamespace(nsSm);
        writer->writeAttribute(QStringLiteral("h"), QString::number(h));
        writer->writeEndElement();
    }
};

template<class Entry> void answerMessage(Entry entry, const ZS_MessageInfo &record)
{
    invoke(entry, static_cast<const ZS_MessageInfo *>(&record));
}

} // namespace

struct Messages::State
{
    explicit State(Messages &owner)
        : q(owner)
    { }

    Messages &q;
    QPointer<QXmppClient> client;
    QPointer<StanzaHook<Messages>> hook;
    QPointer<QXmppLogger> logger;
    QTimer *timer = nullptr;
    bool online = false;

    // ---- acknowledgement of sends ----
    struct Outgoing
    {
        QXmppMessage message;
        std::function<void(int)> done;
        bool written = false; // to a stream; waits for its acknowledgement
        bool numbered = false;
        quint32 seq = 0; // its place in the stream's count
        quint64 epoch = 0; // the stream management session it was counted in
        int error = 0; // an error stanza came back for it
        // To another server: our server acknowledges what it passes on, the receiver's
        // refusal comes later. Done once the probe sent behind it was answered.
        bool remote = false;
        bool retried = false; // a group message written again once its room was entered
        bool acked = false;
        bool reached = false;
        QElapsedTimer since;
    };
    std::deque<Outgoing> out;
    quint32 seq = 0; // stanzas written since <enable/> (or the h of <resumed/>)
    quint64 epoch = 0;
    bool smEnabled = false;
    quint32 handled = 0; // stanzas received since <enabled/>, as the server counts them
    bool ackDue = false;

    // ---- IQs of the engine's own ----
    struct PendingIq
    {
        std::function<void(const QDomElement *result, int reason)> done; // result: null on failure
        QElapsedTimer since;
        QString to; // bare; besides the server and the account, only it may answer
    };
    QHash<QString, PendingIq> iqs;

    // ---- what the engine knows of messages ----
    struct Known
    {
        QString peer; // bare JID
        bool own = false;
        bool deleted = false;
    };
    QHash<QString, Known> known;
    std::deque<QString> knownOrder;
    QHash<QString, bool> seen; // "<peer> <id>" of delivered messages: no duplicates
    std::deque<QString> seenOrder;

    // ---- offline delivery at login ----
    bool batchOpen = false;
    bool batchAnswered = false; // the ping behind the initial presence came back
    int batchHolds = 0; // the groups side still fetching the rooms' archives
    struct Kept
    {
        QXmppMessage message;
        QString groupId; // a group's message: its id and the member who sent it
        QString sender;
    };
    std::vector<Kept> batch;
    std::vector<std::function<void()>> afterBatch;

    // ---- top contacts: one read-modify-write at a time ----
    std::deque<std::function<void()>> topOps;
    bool topBusy = false;

    Session &session() const { return q.session(); }

    void remember(const QString &id, const QString &peer, bool own)
    {
        const auto it = known.constFind(id);
        if (id.isEmpty() || (it != known.constEnd() && it->own && !own))
            return; // a peer reusing an id of ours does not take the message over
        if (it == known.constEnd()) {
            knownOrder.push_back(id);
            if (int(knownOrder.size()) > KnownLimit) {
                known.remove(knownOrder.front());
                knownOrder.pop_front();
            }
        }
        known.insert(id, {peer, own, false});
    }

    // False when this message was delivered already (a carbon and a copy, a resend).
    bool firstTime(const QString &peer, const QString &id)
    {
        if (id.isEmpty())
            return true;
        const QString key = peer + QLatin1Char(' ') + id;
        if (seen.contains(key))
            return false;
        seen.insert(key, true);
        seenOrder.push_back(key);
        if (int(seenOrder.size()) > KnownLimit) {
            seen.remove(seenOrder.front());
            seenOrder.pop_front();
        }
        return true;
    }

    void ensureTimer()
    {
        if (timer && !timer->isActive() && (!out.empty() || !iqs.isEmpty()))
            timer->start();
    }

    // ---- stream watching ----

    void onLog(QXmppLogger::MessageType type, const QString &text)
    {
        if (type == QXmppLogger::SentMessage)
            onSent(text);
        else if (type == QXmppLogger::ReceivedMessage)
            onReceived(text);
    }

    void onSent(const QString &chunk)
    {
        for (const TopElement &e : topElements(chunk)) {
            if (e.ns == nsSm && e.name == QLatin1String("enable")) {
                // The server counts from its handling of <enable/>: what follows is 1, 2, ...
                seq = 0;
                ++epoch;
                continue;
            }
            if (!isStanza(e))
                continue;
            ++seq;
            if (e.name != QLatin1String("message"))
                continue;
            const QString id = e.attributes.value(QLatin1String("id")).toString();
            for (Outgoing &o : out) {
                if (o.written && o.message.id() == id) {
                    // Written again (QXmpp resends what a resumed stream lacks): its new place.
                    o.numbered = true;
                    o.seq = seq;
                    o.epoch = epoch;
                    o.since.start();
                }
            }
        }
    }

    void onReceived(const QString &chunk)
    {
        bool messages = false;
        for (const TopElement &e : topElements(chunk)) {
            if (isStanza(e)) {
                ++handled;
                messages = messages || e.name == QLatin1String("message");
                continue;
            }
            if (e.ns != nsSm)
                continue;
            const QStringRef h = e.attributes.value(QLatin1String("h"));
            if (e.name == QLatin1String("a")) {
                ackLater(h.toUInt());
            } else if (e.name == QLatin1String("resumed")) {
                // QXmpp writes what the server lacks right after this chunk; those are
                // counted from h on.
                smEnabled = true;
                seq = h.toUInt();
                ackLater(h.toUInt());
            } else if (e.name == QLatin1String("enabled")) {
                smEnabled = true;
                handled = 0;
                QTimer::singleShot(0, &q, [this] { dropOldEpoch(); });
            } else if (e.name == QLatin1String("failed")) {
                smEnabled = false;
            }
        }
        if (messages && smEnabled && !ackDue) {
            // The server asks for acknowledgements lazily; a client that closes before it
            // asked would get what it had shown redelivered (the server stores unacknowledged
            // messages as offline ones). Acknowledge once the chunk has been handled.
            ackDue = true;
            QTimer::singleShot(0, &q, [this] { sendAck(); });
        }
    }

    void sendAck()
    {
        ackDue = false;
        if (!client || !online || !smEnabled)
            return;
        Ack ack;
        ack.h = handled;
        client->sendPacket(ack);
    }

    // QXmpp logs a chunk before it handles the stanzas in it; an error bounce sent before
    // the <a/> in the same chunk must be seen first, so acknowledgements wait for the loop.
    void ackLater(quint32 h)
    {
        QTimer::singleShot(0, &q, [this, h, at = epoch] {
            if (at == epoch)
                ackUpTo(h, at);
        });
    }

    void ackUpTo(quint32 h, quint64 at)
    {
        std::vector<std::pair<std::function<void(int)>, int>> done;
        for (auto it = out.begin(); it != out.end();) {
            if (it->numbered && it->epoch == at && qint32(h - it->seq) >= 0 && it->remote
                && !it->reached && !it->error) {
                it->acked = true; // the receiver's server has not spoken yet
                ++it;
            } else if (it->numbered && it->epoch == at && qint32(h - it->seq) >= 0) {
                Engine::get().trace(QStringLiteral("message %1 acknowledged as stanza %2")
                                        .arg(it->message.id(), QString::number(it->seq)));
                done.emplace_back(std::move(it->done), it->error ? it->error : 200);
                it = out.erase(it);
            } else {
                ++it;
            }
        }
        for (auto &answer : done)
            answer.first(answer.second);
    }

    // A new stream (not resumed): what was written to the old one and not written again
    // since may or may not have reached the server.
    void dropOldEpoch()
    {
        failWhere([this](const Outgoing &o) { return o.written && o.epoch != epoch; },
                  ReasonUnreachable);
    }

    template<class Pred> void failWhere(Pred pred, int reason)
    {
        std::vector<std::function<void(int)>> done;
        for (auto it = out.begin(); it != out.end();) {
            if (pred(*it)) {
                done.push_back(std::move(it->done));
                it = out.erase(it);
            } else {
                ++it;
            }
        }
        for (auto &answer : done)
            answer(reason);
    }

    // A group message waits while its room is being entered again after a new stream: the
    // room refuses messages from someone not in it.
    bool held(const Outgoing &o) const
    {
        return o.message.type() == QXmppMessage::GroupChat
            && session().groups().awaitsEntry(bareOf(o.message.to()));
    }

    void writeWaiting()
    {
        if (!online)
            return;
        for (Outgoing &o : out)
            if (!o.written && !held(o))
                write(o);
    }

    void write(Outgoing &o)
    {
        o.written = true;
        o.numbered = false;
        o.epoch = epoch;
        o.since.start();
        const QString id = o.message.id();
        if (!client || !client->sendPacket(o.message))
            return; // the loss of the connection follows; the timer or a new stream decides
        o.acked = false;
        o.reached = false;
        if (o.remote) {
            probe(id, bareOf(o.message.to()));
            return;
        }
        if (!smEnabled) {
            // No stream management: the answer to a ping sent after it proves the server has
            // handled it (a server handles one stream's stanzas in order).
            sendIq(QStringLiteral("get"), session().domain(),
                   element(QStringLiteral("ping"), nsPing), [this, id](const QDomElement *, int) {
                       for (auto it = out.begin(); it != out.end(); ++it) {
                           if (it->message.id() == id && !it->numbered) {
                               Engine::get().trace(
                                   QStringLiteral("message %1 handled (no stream management)")
                                       .arg(id));
                               auto done = std::move(it->done);
                               const int reason = it->error ? it->error : 200;
                               out.erase(it);
                               done(reason);
                               return;
                           }
                       }
                   });
        }
    }

    // Servers handle a link's stanzas in order, and the receiver's server answers over one
    // link too: any answer to a ping sent to the receiver behind a message comes after the
    // message's error bounce, if there was one. Without stream management it also stands for
    // our server's acknowledgement.
    void probe(const QString &id, const QString &to)
    {
        sendIq(QStringLiteral("get"), to, element(QStringLiteral("ping"), nsPing),
               [this, id](const QDomElement *, int reason) {
                   if (reason == ReasonUnreachable)
                       return; // the stream is gone: the new one decides
                   for (auto it = out.begin(); it != out.end(); ++it) {
                       if (it->message.id() != id || !it->remote)
                           continue;
                       it->reached = true;
                       if (reason == ZS_REASON_TIMEOUT && !it->error)
                           it->error = ZS_REASON_TIMEOUT;
                       if (!it->acked && smEnabled && !it->error)
                           return; // our server's acknowledgement still to come
                       Engine::get().trace(
                           QStringLiteral("message %1 reached the receiver's server").arg(id));
                       auto done = std::move(it->done);
                       const int result = it->error ? it->error : 200;
                       out.erase(it);
                       done(result);
                       return;
                   }
               });
    }

    void tick()
    {
        const Phase phase = Engine::get().phase.load();
        if (!online && phase != Phase::Connected && phase != Phase::Reconnecting) {
            // No connection and none coming back.
            failAll(ReasonUnreachable);
            return;
        }
        if (online) {
            failWhere(
                [](const Outgoing &o) { return o.written && o.since.hasExpired(AckTimeoutMs); },
                ZS_REASON_TIMEOUT);
            QStringList late;
            for (auto it = iqs.cbegin(); it != iqs.cend(); ++it)
                if (it->since.hasExpired(IqTimeoutMs))
                    late << it.key();
            for (const QString &id : qAsConst(late))
                if (auto done = iqs.take(id).done)
                    done(nullptr, ZS_REASON_TIMEOUT);
        }
        if (out.empty() && iqs.isEmpty())
            timer->stop();
    }

    void failAll(int reason)
    {
        failWhere([](const Outgoing &) { return true; }, reason);
        failIqs();
    }

    void failIqs()
    {
        const auto pending = std::exchange(iqs, {});
        for (const PendingIq &p : pending)
            if (p.done)
                p.done(nullptr, ReasonUnreachable);
    }

    // ---- IQs ----

    void sendIq(const QString &type, const QString &to, const QXmppElement &payload,
                std::function<void(const QDomElement *, int)> done)
    {
        if (!online || !client) {
            done(nullptr, ReasonUnreachable);
            return;
        }
        PayloadIq iq;
        iq.setId(newId());
        iq.setType(type == QLatin1String("set") ? QXmppIq::Set : QXmppIq::Get);
        iq.setTo(to);
        iq.payload = payload;
        PendingIq pending{std::move(done), QElapsedTimer(), bareOf(to)};
        pending.since.start();
        iqs.insert(iq.id(), std::move(pending));
        ensureTimer();
        client->sendPacket(iq);
    }

    bool handleIq(const QDomElement &iq)
    {
        const QString type = iq.attribute(QStringLiteral("type"));
        if (type != QLatin1String("result") && type != QLatin1String("error"))
            return false;
        const QString id = iq.attribute(QStringLiteral("id"));
        const auto it = iqs.find(id);
        if (it == iqs.end())
            return false;
        // Only the server, the account itself or the one asked answers the engine's requests.
        const QString from = bareOf(iq.attribute(QStringLiteral("from")));
        if (!from.isEmpty() && from != session().ownJid() && from != session().domain()
            && from != it->to)
            return false;
        const auto done = std::move(it->done);
        iqs.erase(it);
        if (!done)
            return true;
        if (type == QLatin1String("result")) {
            done(&iq, ZS_REASON_SUCCESS);
        } else {
            QXmppIq answer;
            answer.parse(iq);
            done(nullptr, reasonOf(answer.error()));
        }
        return true;
    }

    // ---- receiving ----

    bool handleMessage(const QDomElement &stanza)
    {
        QXmppMessage m;
        m.parse(stanza);
        if (m.type() == QXmppMessage::Error)
            return handleError(m);
        for (const QString &kind : {QStringLiteral("sent"), QStringLiteral("received")}) {
            const QDomElement carbon = child(stanza, kind, nsCarbons);
            if (carbon.isNull())
                continue;
            // Carbons come from the account itself; anyone else's are forged.
            const QString from = bareOf(m.from());
            if (!from.isEmpty() && from != session().ownJid())
                return true;
            const QDomElement inner = child(child(carbon, QStringLiteral("forwarded"), nsForward),
                                            QStringLiteral("message"), nsClient);
            if (inner.isNull())
                return true;
            QXmppMessage copy;
            copy.parse(inner);
            if (copy.type() != QXmppMessage::Error)
                incoming(copy, inner, kind == QLatin1String("sent"));
            return true;
        }
        if (m.type() == QXmppMessage::GroupChat)
            return incomingGroup(m, stanza, false);
        if (m.type() == QXmppMessage::Headline)
            return false;
        incoming(m, stanza, false);
        return false;
    }

    bool handleError(const QXmppMessage &m)
    {
        const QString id = m.id();
        for (Outgoing &o : out) {
            if (o.message.id() != id || id.isEmpty())
                continue;
            const QString from = bareOf(m.from());
            if (!from.isEmpty() && from != bareOf(o.message.to()) && from != session().domain())
                return false;
            if (o.message.type() == QXmppMessage::GroupChat && !o.retried
                && m.error().condition() == QXmppStanza::Error::NotAcceptable) {
                // Written again by QXmpp on a new stream before the room was entered again:
                // it waits for the room (receivers take a message id once).
                Engine::get().trace(
                    QStringLiteral("message %1 waits for its room").arg(escaped(id)));
                o.retried = true;
                o.written = false;
                o.numbered = false;
                QTimer::singleShot(0, &q, [this] { writeWaiting(); });
                return true;
            }
            o.error = reasonOf(m.error());
            Engine::get().trace(QStringLiteral("message %1 came back: %2")
                                    .arg(escaped(id), QString::number(o.error)));
            return true;
        }
        return false;
    }

    // A message to this user, or (sentCopy) one this account sent from another client.
    void incoming(const QXmppMessage &m, const QDomElement &stanza, bool sentCopy)
    {
        const QString own = session().ownJid();
        const QString peer = bareOf(sentCopy ? m.to() : m.from());
        if (peer.isEmpty())
            return;

        if (m.marker() == QXmppMessage::Displayed && !sentCopy && !m.markedId().isEmpty()) {
            notice(NoticeRead, m.markedId(), peer, m.stamp());
            return;
        }
        const QDomElement applyTo = child(stanza, QStringLiteral("apply-to"), nsFasten);
        if (!applyTo.isNull()) {
            const QString target = applyTo.attribute(QStringLiteral("id"));
            if (sentCopy || target.isEmpty()
                || child(applyTo, QStringLiteral("retract"), nsRetract).isNull())
                return;
            // Only the author retracts: a message known from someone else stays.
            const auto it = known.constFind(target);
            if (it != known.constEnd() && (it->own || it->peer != peer))
                return;
            notice(NoticeWithdrawn, target, peer, m.stamp());
            return;
        }
        const Content content = contentOf(m);
        if (m.body().isEmpty() && !content.isFile)
            return; // chat states, receipts and the like
        const QString id = idOf(m);
        if (!firstTime(sentCopy ? own : peer, id))
            return;
        remember(id, peer, sentCopy);
        if (batchOpen && m.stamp().isValid() && !sentCopy) {
            batch.push_back({m, {}, {}});
            return;
        }
        auto record = makeRecord<ZS_MessageInfo>();
        q.fillRecord(*record, m);
        record->isSyncMsg = sentCopy ? 1 : 0;
        answerMessage(content.isFile ? &ZS_MessageCallBack::onReceiveFile
                                     : &ZS_MessageCallBack::onReceiveMessage,
                      *record);
    }

    // A message of a group the user is in, as its room passes it on (to everyone, the
    // sender included, whose send result already told of it), or as the room's archive
    // gives it back after the user was away.
    bool incomingGroup(const QXmppMessage &m, const QDomElement &stanza, bool archived)
    {
        Groups &groups = session().groups();
        const QString room = bareOf(m.from());
        const QString nick = QXmppUtils::jidToResource(m.from());
        const QString groupId = groups.groupIdOf(room);
        if (groupId.isEmpty() || nick.isEmpty())
            return false; // the room's own news: the groups side reads those
        if (!archived)
            groups.noteArchived(room, stanza);
        const Content content = contentOf(m);
        if (m.body().isEmpty() && !content.isFile)
            return false;
        // Nicknames are bare JIDs; one that is not names nobody the user knows.
        QString member = groups.memberJid(room, nick);
        if (member.isEmpty() && nick.contains(QLatin1Char('@')))
            member = bareOf(nick);
        const bool own
            = nick == groups.ownNick(room) || (!member.isEmpty() && member == session().ownJid());
        const QString id = idOf(m);
        if (own || !firstTime(room, id))
            return true;
        const QString sender = member.isEmpty() ? nick : session().nameOf(member);
        const QDomElement applyTo = child(stanza, QStringLiteral("apply-to"), nsFasten);
        if (!applyTo.isNull()) {
            const QString target = applyTo.attribute(QStringLiteral("id"));
            if (!target.isEmpty() && !child(applyTo, QStringLiteral("retract"), nsRetract).isNull())
                groupNotice(NoticeWithdrawn, target, groupId, sender, m.stamp());
            return true;
        }
        if (archived && batchOpen) {
            batch.push_back({m, groupId, sender});
            return true;
        }
        auto record = makeRecord<ZS_MessageInfo>();
        fillGroupRecord(*record, m, groupId, sender);
        answerMessage(content.isFile ? &ZS_MessageCallBack::onReceiveFile
                                     : &ZS_MessageCallBack::onReceiveMessage,
                      *record);
        return true;
    }

    void fillGroupRecord(ZS_MessageInfo &record, const QXmppMessage &m, const QString &groupId,
                         const QString &sender) const
    {
        q.fillRecord(record, m);
        put(record.sender, sender);
        put(record.receiver, groupId);
        put(record.sessionId, groupId);
        record.sessionType = 1;
    }

    // A member withdrew a message of the group's.
    void groupNotice(int type, const QString &msgId, const QString &groupId, const QString &sender,
                     const QDateTime &stamp)
    {
        auto run = [type, msgId, groupId, sender, stamp] {
            auto record = makeRecord<ZS_MessageInfo>();
            record->msgType = type;
            put(record->msgId, msgId);
            put(record->dateCreated, dateText(stamp));
            put(record->sender, sender);
            put(record->receiver, groupId);
            put(record->sessionId, groupId);
            record->sessionType = 1;
            answerMessage(&ZS_MessageCallBack::onReceiveOpreateNoticeMessage, *record);
        };
        if (batchOpen)
            afterBatch.push_back(run);
        else
            run();
    }

    void notice(int type, const QString &msgId, const QString &peer, const QDateTime &stamp)
    {
        auto run = [this, type, msgId, peer, stamp] {
            auto record = makeRecord<ZS_MessageInfo>();
            record->msgType = type;
            put(record->msgId, msgId);
            put(record->dateCreated, dateText(stamp));
            put(record->sender, session().nameOf(peer));
            put(record->receiver, session().ownName());
            put(record->sessionId, session().nameOf(peer));
            answerMessage(&ZS_MessageCallBack::onReceiveOpreateNoticeMessage, *record);
        };
        if (batchOpen)
            afterBatch.push_back(run); // after the messages they are about
        else
            run();
    }

    // Everything delayed that arrives before the answer to a ping sent after the initial
    // presence is what the server kept while the user was away.
    void openBatch()
    {
        batchOpen = true;
        batchAnswered = false;
        sendIq(QStringLiteral("get"), session().domain(), element(QStringLiteral("ping"), nsPing),
               [this](const QDomElement *, int) {
                   batchAnswered = true;
                   if (batchHolds == 0)
                       closeBatch();
               });
    }

    // The whole batch at once: count, messages, complete. Also when the stream ends.
    void closeBatch()
    {
        batchHolds = 0;
        batchAnswered = false;
        if (!batchOpen)
            return;
        batchOpen = false;
        const auto messages = std::exchange(batch, {});
        const auto after = std::exchange(afterBatch, {});
        invoke(&ZS_MessageCallBack::onOfflineMessageCount, int(messages.size()));
        auto record = makeRecord<ZS_MessageInfo>();
        for (const Kept &kept : messages) {
            *record = ZS_MessageInfo();
            if (kept.groupId.isEmpty())
                q.fillRecord(*record, kept.message);
            else
                fillGroupRecord(*record, kept.message, kept.groupId, kept.sender);
            record->isReceiveOfflineMsg = 1;
            answerMessage(&ZS_MessageCallBack::onReceiveOfflineMessage, *record);
        }
        invoke(&ZS_MessageCallBack::onOfflineMessageComplete);
        for (const auto &run : after)
            run();
    }

    // ---- top contacts (XEP-0049) ----

    void queueTop(std::function<void()> op)
    {
        topOps.push_back(std::move(op));
        nextTop();
    }

    void nextTop()
    {
        if (topBusy || topOps.empty())
            return;
        topBusy = true;
        auto op = std::move(topOps.front());
        topOps.pop_front();
        op();
    }

    void topDone()
    {
        topBusy = false;
        QTimer::singleShot(0, &q, [this] { nextTop(); });
    }

    QXmppElement topQuery(const QStringList &contacts) const
    {
        QXmppElement query = element(QStringLiteral("query"), nsPrivate);
        QXmppElement top = element(QStringLiteral("top"), nsTop);
        for (const QString &jid : contacts)
            top.appendChild(element(QStringLiteral("contact"), QString(), jid));
        query.appendChild(top);
        return query;
    }

    void fetchTop(std::function<void(int reason, const QStringList &jids)> done)
    {
        sendIq(QStringLiteral("get"), QString(), topQuery({}),
               [done](const QDomElement *iq, int failure) {
                   if (!iq) {
                       done(failure, {});
                       return;
                   }
                   QStringList jids;
                   const QDomElement top = child(child(*iq, QStringLiteral("query"), nsPrivate),
                                                 QStringLiteral("top"), nsTop);
                   for (QDomElement c = top.firstChildElement(QStringLiteral("contact"));
                        !c.isNull() && jids.size() < TopContactLimit;
                        c = c.nextSiblingElement(QStringLiteral("contact")))
                       if (!c.text().isEmpty() && !jids.contains(c.text()))
                           jids << c.text();
                   done(ZS_REASON_SUCCESS, jids);
               });
    }
};

Messages::Messages(Session &session)
    : Feature(session)
    , d(new State(*this))
{
    d->timer = new QTimer(this);
    d->timer->setInterval(1000);
    QObject::connect(d->timer, &QTimer::timeout, this, [this] { d->tick(); });
}

Messages::~Messages() = default;

QXmppMessage Messages::compose(const QString &to, int msgType, const QString &userData) const
{
    QXmppMessage message;
    const QString id = newId();
    message.setId(id);
    message.setOriginId(id);
    message.setTo(to);
    // A group's message goes to its room, which passes it on to every member; read markers
    // are kept for one-to-one chats.
    const bool room = session().groups().isRoom(to);
    message.setType(room ? QXmppMessage::GroupChat : QXmppMessage::Chat);
    message.setMarkable(!room);
    QXmppElement tq = element(QStringLiteral("tq"), nsTq);
    tq.setAttribute(QStringLiteral("type"), QString::number(msgType));
    if (!userData.isEmpty())
        tq.appendChild(element(QStringLiteral("userdata"), QString(), userData));
    message.setExtensions({tq});
    return message;
}

void Messages::setFile(QXmppMessage &message, const QString &url, const QString &fileName,
                       qint64 size)
{
    message.setBody(url);
    QXmppElement oob = element(QStringLiteral("x"), nsOob);
    oob.appendChild(element(QStringLiteral("url"), QString(), url));
    oob.appendChild(element(QStringLiteral("desc"), QString(), fileName));
    QXmppElement file = element(QStringLiteral("file"), nsFileMeta);
    file.appendChild(element(QStringLiteral("name"), QString(), fileName));
    file.appendChild(
        element(QStringLiteral("size"), QString(), QString::number(qMax<qint64>(0, size))));
    QXmppElementList extensions = message.extensions();
    extensions << oob << file;
    message.setExtensions(extensions);
}

void Messages::send(const QXmppMessage &message, std::function<void(int reason)> done)
{
    State::Outgoing o;
    o.message = message;
    if (o.message.id().isEmpty())
        o.message.setId(newId());
    o.done = std::move(done);
    // The server's own services (groups, upload) answer through it, not over a link.
    const QString domain = bareOf(o.message.to()).section(QLatin1Char('@'), -1);
    const QString own = session().domain().toLower();
    o.remote = !domain.isEmpty() && !own.isEmpty() && domain != own
        && !domain.endsWith(QLatin1Char('.') + own);
    if (!findExtension(o.message, QStringLiteral("tq"), nsTq).isNull())
        d->remember(o.message.id(), bareOf(o.message.to()), true);
    d->out.push_back(std::move(o));
    if (d->online && !d->held(d->out.back()))
        d->write(d->out.back());
    d->ensureTimer();
    if (!d->online)
        QTimer::singleShot(0, this, [this] { d->tick(); }); // no session coming back: fail now
}

void Messages::fillRecord(ZS_MessageInfo &record, const QXmppMessage &m) const
{
    const Content c = contentOf(m);
    const QString own = session().ownJid();
    const QString from = m.from().isEmpty() ? own : bareOf(m.from());
    const QString to = m.to().isEmpty() ? own : bareOf(m.to());
    record.msgType = c.type;
    put(record.msgId, idOf(m));
    put(record.dateCreated, dateText(m.stamp()));
    put(record.sender, session().nameOf(from));
    put(record.receiver, session().nameOf(to));
    put(record.sessionId, session().nameOf(from == own ? to : from));
    record.sessionType = 0;
    const Groups &groups = session().groups();
    if (m.type() == QXmppMessage::GroupChat && groups.isRoom(to)) {
        // Sent to a group: the conversation is the group's.
        put(record.receiver, groups.groupIdOf(to));
        put(record.sessionId, groups.groupIdOf(to));
        record.sessionType = 1;
    }
    put(record.msgContent, m.body());
    put(record.userData, c.userData);
    if (c.isFile) {
        put(record.fileUrl, c.url);
        put(record.fileName, c.fileName);
        record.fileSize = c.size;
        record.originFileSize = c.size;
    }
}

void Messages::sendText(unsigned int key, const QXmppMessage &message)
{
    send(message, [this, key, message](int reason) {
        auto record = makeRecord<ZS_MessageInfo>();
        fillRecord(*record, message);
        invoke(&ZS_MessageCallBack::onSendTextMessage, key, reason,
               static_cast<const ZS_MessageInfo *>(record.get()));
    });
}

void Messages::read(const QString &msgId)
{
    const auto it = d->known.constFind(msgId);
    if (it == d->known.constEnd() || it->own) {
        Engine::get().trace(
            QStringLiteral("ReadMessage: no message %1 from anyone").arg(escaped(msgId)));
        return;
    }
    QXmppMessage marker;
    marker.setId(newId());
    marker.setTo(it->peer);
    marker.setType(QXmppMessage::Chat);
    marker.setMarker(QXmppMessage::Displayed);
    marker.setMarkerId(msgId);
    marker.addHint(QXmppMessage::Store); // kept for a reader who is offline
    send(marker, [msgId](int reason) {
        if (reason != ZS_REASON_SUCCESS)
            Engine::get().trace(
                QStringLiteral("read marker %1: %2").arg(escaped(msgId), QString::number(reason)));
    });
}

void Messages::withdraw(unsigned int key, const QString &msgId)
{
    const auto answer = [key](int reason) {
        invoke(&ZS_MessageCallBack::onWithDrawMessage, key, reason);
    };
    const auto it = d->known.constFind(msgId);
    if (it == d->known.constEnd()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    if (!it->own) {
        answer(ZS_REASON_FORBIDDEN);
        return;
    }
    QXmppMessage retraction;
    retraction.setId(newId());
    retraction.setTo(it->peer);
    retraction.setType(session().groups().isRoom(it->peer) ? QXmppMessage::GroupChat
                                                           : QXmppMessage::Chat);
    retraction.setBody(QStringLiteral("This person attempted to retract a previous message, but "
                                      "it's unsupported by your client."));
    retraction.setIsFallback(true);
    retraction.addHint(QXmppMessage::Store);
    QXmppElement applyTo = element(QStringLiteral("apply-to"), nsFasten);
    applyTo.setAttribute(QStringLiteral("id"), msgId);
    applyTo.appendChild(element(QStringLiteral("retract"), nsRetract));
    retraction.setExtensions({applyTo});
    send(retraction, answer);
}

void Messages::remove(unsigned int key, int type, const QString &msgId)
{
    // The engine keeps no history: it forgets nothing it needs for markers or retraction,
    // and answers whether it knew the message (once).
    int reason = ZS_REASON_NOT_FOUND;
    const auto it = d->known.find(msgId);
    if (it != d->known.end() && !it->deleted) {
        it->deleted = true;
        reason = ZS_REASON_SUCCESS;
    }
    const QByteArray id = msgId.toUtf8();
    invoke(&ZS_MessageCallBack::onDeleteMessage, key, reason, type, id.constData());
}

void Messages::setTopContact(unsigned int key, const QString &contact, bool isTop)
{
    const auto answer = [key](int reason) {
        invoke(&ZS_MessageCallBack::onSetTopContact, key, reason);
    };
    if (contact.trimmed().isEmpty()) {
        answer(ZS_REASON_BAD_REQUEST);
        return;
    }
    const QString jid = session().jidOf(contact.trimmed());
    d->queueTop([this, answer, jid, isTop] {
        d->fetchTop([this, answer, jid, isTop](int reason, QStringList jids) {
            if (reason != ZS_REASON_SUCCESS) {
                answer(reason);
                d->topDone();
                return;
            }
            jids.removeAll(jid);
            if (isTop)
                jids.append(jid);
            d->sendIq(QStringLiteral("set"), QString(), d->topQuery(jids),
                      [this, answer](const QDomElement *, int stored) {
                          answer(stored);
                          d->topDone();
                      });
        });
    });
}

void Messages::getTopContacts(unsigned int key)
{
    d->queueTop([this, key] {
        d->fetchTop([this, key](int reason, const QStringList &jids) {
            std::vector<QByteArray> texts;
            for (const QString &jid : jids)
                texts.push_back(session().nameOf(jid).toUtf8());
            std::vector<const char *> array;
            for (const QByteArray &t : texts)
                array.push_back(t.constData());
            invoke(&ZS_MessageCallBack::onGetTopContact, key, reason, int(array.size()),
                   static_cast<const char *const *>(array.empty() ? nullptr : array.data()));
            d->topDone();
        });
    });
}

void Messages::attach(QXmppClient *client)
{
    d->client = client;
    d->online = false;
    d->smEnabled = false;
    d->hook = new StanzaHook<Messages>(this);
    // First, so that carbons and the engine's IQ answers reach it before QXmpp's managers.
    client->insertExtension(0, d->hook);
    d->logger = new QXmppLogger(client);
    d->logger->setLoggingType(QXmppLogger::SignalLogging);
    d->logger->setMessageTypes(QXmppLogger::SentMessage | QXmppLogger::ReceivedMessage);
    QObject::connect(
        d->logger, &QXmppLogger::message, this,
        [this](QXmppLogger::MessageType type, const QString &text) { d->onLog(type, text); });
    client->setLogger(d->logger);
}

void Messages::online(bool resumed)
{
    d->online = true;
    if (!resumed) {
        if (!d->smEnabled)
            d->dropOldEpoch();
        // Carbons: this client sees what the account's other clients send and receive.
        QXmppElement enable = element(QStringLiteral("enable"), nsCarbons);
        d->sendIq(QStringLiteral("set"), QString(), enable, [](const QDomElement *iq, int) {
            if (!iq)
                Engine::get().trace(QStringLiteral("carbons refused"));
        });
        // QXmpp sends the initial presence once connected() has been handled.
        QTimer::singleShot(0, this, [this] {
            if (d->online)
                d->openBatch();
        });
    }
    d->writeWaiting();
    d->ensureTimer();
}

void Messages::roomsChanged()
{
    d->writeWaiting();
}

void Messages::holdOfflineBatch()
{
    ++d->batchHolds;
}

void Messages::releaseOfflineBatch()
{
    if (d->batchHolds == 0)
        return;
    if (--d->batchHolds == 0 && d->batchAnswered)
        d->closeBatch();
}

void Messages::archivedGroup(const QDomElement &message, const QDateTime &stamp)
{
    QXmppMessage m;
    m.parse(message);
    if (m.type() != QXmppMessage::GroupChat)
        return;
    if (!m.stamp().isValid())
        m.setStamp(stamp);
    d->incomingGroup(m, message, true);
}

void Messages::offline()
{
    d->online = false;
    d->smEnabled = false;
    d->failIqs();
    d->closeBatch(); // what arrived is the user's even if the answer did not come
    d->ensureTimer();
    QTimer::singleShot(0, this, [this] { d->tick(); });
}

void Messages::detach()
{
    d->online = false;
    d->closeBatch();
    d->failAll(ReasonUnreachable);
    // The client goes later and may still report a little: nothing of it reaches us.
    if (d->hook)
        d->hook->owner = nullptr;
    if (d->logger)
        QObject::disconnect(d->logger, nullptr, this, nullptr);
    d->hook = nullptr;
    d->logger = nullptr;
    d->client = nullptr;
    d->topOps.clear();
    d->topBusy = false;
}

bool Messages::handleStanza(const QDomElement &element)
{
    if (element.tagName() == QLatin1String("iq"))
        return d->handleIq(element);
    if (element.tagName() == QLatin1String("message"))
        return d->handleMessage(element);
    return false;
}

} // namespace zsxmpp
