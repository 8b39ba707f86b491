#include "XmppPresence.h"

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppSession.h"
#include "XmppStanza.h"

#include <QXmppClient.h>
#include <QXmppClientExtension.h>
#include <QXmppDiscoveryManager.h>
#include <QXmppElement.h>
#include <QXmppIq.h>
#include <QXmppPresence.h>
#include <QXmppRosterManager.h>
#include <QXmppUtils.h>

#include <QDateTime>
#include <QDomElement>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace zsxmpp {

namespace {

const QString kPresenceNs = QStringLiteral("urn:tq:presence:0");
const QString kProfileNs = QStringLiteral("urn:tq:vcard:0");

// The note fills text4 of a state record at most.
constexpr int kNoteMax = int(sizeof(ZS_PersonState::text4)) - 1;
constexpr int kIqTimeoutMs = 30000;
// Resources kept per contact, and users kept outside the roster; more are ignored (the
// network is not trusted with memory).
constexpr int kResourcesMax = 32;
constexpr int kStrangersMax = 1000;

} // namespace

// IQ requests with their answers: each callback runs once, with the result, the error, a
// time-out (408) or the loss of the stream.
class IqRequests : public QXmppClientExtension
{
public:
    using Done = std::function<void(int reason, const QDomElement &iq)>;

    // `to` empty: the own account. False (and no callback) when it cannot be sent.
    bool send(QXmppIq::Type type, const QString &to, const QXmppElement &payload, Done done)
    {
        PayloadIq iq;
        iq.setType(type);
        iq.setTo(to);
        iq.payload = payload;
        if (!client() || !client()->sendPacket(iq))
            return false;
        const QString id = iq.id();
        m_pending.insert(id, {to, std::move(done)});
        QTimer::singleShot(kIqTimeoutMs, this, [this, id] { finish(id, ZS_REASON_TIMEOUT, {}); });
        return true;
    }

    bool handleStanza(const QDomElement &stanza) override
    {
        if (stanza.tagName() != QLatin1String("iq"))
            return false;
        const QString type = stanza.attribute(QStringLiteral("type"));
        if (type != QLatin1String("result") && type != QLatin1String("error"))
            return false;
        const auto it = m_pending.constFind(stanza.attribute(QStringLiteral("id")));
        if (it == m_pending.constEnd())
            return false;
        // Only the entity asked (or the own server for the own account) may answer.
        const QString from = QXmppUtils::jidToBareJid(stanza.attribute(QStringLiteral("from")));
        const QString own = QXmppUtils::jidToBareJid(client()->configuration().jid());
        if (!from.isEmpty() && from.compare(it->to.isEmpty() ? own : it->to, Qt::CaseInsensitive)
            && from.compare(own, Qt::CaseInsensitive))
            return false;
        finish(it.key(), reasonOf(stanza), stanza);
        return true;
    }

    void failAll(int reason)
    {
        const auto pending = std::exchange(m_pending, {});
        for (const Pending &p : pending)
            p.done(reason, {});
    }

private:
    void finish(const QString &id, int reason, const QDomElement &iq)
    {
        const auto it = m_pending.find(id);
        if (it == m_pending.end())
            return;
        const Done done = std::move(it->done);
        m_pending.erase(it);
        done(reason, iq);
    }

    struct Pending
    {
        QString to;
        Done done;
    };
    QHash<QString, Pending> m_pending;
};

Presence::Presence(Session &session)
    : Feature(session)
{ }

Presence::~Presence() = default;

void Presence::attach(QXmppClient *client)
{
    m_client = client;
    m_iq = new IqRequests;
    // First, so that the client's own vCard handling never takes our answers.
    client->insertExtension(0, m_iq);
    connect(client, &QXmppClient::presenceReceived, this, &Presence::onPresence);
    if (auto *roster = client->findExtension<QXmppRosterManager>()) {
        connect(roster, &QXmppRosterManager::rosterReceived, this, &Presence::onRoster);
        connect(roster, &QXmppRosterManager::itemAdded, this, [this](const QString &bareJid) {
            const QString jid = bareJid.toLower();
            if (!m_rosterReady || jid == session().ownJid())
                return;
            m_roster.insert(jid);
            push({jid});
            m_profileQueue << jid;
            fetchNextProfile();
        });
        connect(roster, &QXmppRosterManager::itemRemoved, this,
                [this](const QString &bareJid) { m_roster.remove(bareJid.toLower()); });
    }
}

void Presence::online(bool resumed)
{
    if (resumed) {
        // The stream and what was seen on it are intact; only a change made while it was
        // down is missing.
        if (m_unsent && m_published && m_client)
            m_client->sendPacket(withCaps(toPresence(m_own)));
        m_unsent = false;
        return;
    }
    // A fresh stream opened with current() as its presence; the server sends the roster's
    // presence again, and answers to requests of the old stream never come.
    m_unsent = false;
    m_seen.clear();
    m_rosterReady = false;
    m_profileQueue.clear();
    if (m_iq)
        m_iq->failAll(ReasonUnreachable);
    m_fetching = false;
}

void Presence::offline()
{
    // Requests wait for a resumed stream; without a reconnection nothing answers them.
    if (Engine::get().phase.load() != Phase::Reconnecting && m_iq)
        m_iq->failAll(ReasonUnreachable);
}

void Presence::detach()
{
    m_profileQueue.clear();
    if (m_iq)
        m_iq->failAll(ReasonUnreachable);
    if (m_client)
        disconnect(m_client, nullptr, this, nullptr);
    m_iq = nullptr; // owned by the client
    m_client = nullptr;
    m_own = {};
    m_published = false;
    m_unsent = false;
    m_seen.clear();
    m_order = 0;
    m_roster.clear();
    m_rosterReady = false;
    m_profiles.clear();
    m_profileQueue.clear();
    m_fetching = false;
    m_lastVersion = 0;
}

QXmppPresence Presence::current() const
{
    return m_published ? toPresence(m_own) : QXmppPresence(QXmppPresence::Available);
}

QXmppPresence Presence::withCaps(QXmppPresence presence) const
{
    auto *disco = m_client ? m_client->findExtension<QXmppDiscoveryManager>() : nullptr;
    if (!disco)
        return presence;
    presence.setCapabilityHash(QStringLiteral("sha-1"));
    presence.setCapabilityNode(disco->clientCapabilitiesNode());
    presence.setCapabilityVer(disco->capabilities().verificationString());
    return presence;
}

QXmppPresence Presence::toPresence(const State &state)
{
    QXmppPresence presence(QXmppPresence::Available);
    // What other clients show; ours read the exact type from <tq/>.
    switch (state.type) {
    case 2: // "offline" while connected: messages still arrive, so never unavailable
        presence.setAvailableStatusType(QXmppPresence::XA);
        break;
    case 3:
        presence.setAvailableStatusType(QXmppPresence::DND);
        break;
    case 4:
        presence.setAvailableStatusType(QXmppPresence::Away);
        break;
    default:
        presence.setAvailableStatusType(QXmppPresence::Online);
        break;
    }
    presence.setStatusText(xmlSafe(QString::fromLocal8Bit(state.note)));
    QXmppElement tq;
    tq.setTagName(QStringLiteral("tq"));
    tq.setAttribute(QStringLiteral("xmlns"), kPresenceNs);
    tq.setAttribute(QStringLiteral("type"), QString::number(state.type));
    tq.setAttribute(QStringLiteral("subtype"), QString::number(state.subtype));
    if (state.profile)
        tq.setAttribute(QStringLiteral("profile"), QString::number(state.profile));
    tq.setValue(QString::fromLatin1(state.note.toBase64()));
    presence.setExtensions({tq});
    return presence;
}

Presence::State Presence::fromPresence(const QXmppPresence &presence)
{
    State state;
    const auto extensions = presence.extensions();
    for (const QXmppElement &e : extensions) {
        if (e.tagName() != QLatin1String("tq")
            || e.attribute(QStringLiteral("xmlns")) != kPresenceNs)
            continue;
        state.type = e.attribute(QStringLiteral("type")).toInt();
        state.subtype = e.attribute(QStringLiteral("subtype")).toInt();
        state.profile = e.attribute(QStringLiteral("profile")).toULongLong();
        const QString encoded = e.value();
        // Base64 of at most kNoteMax bytes; anything longer is not ours.
        if (encoded.size() <= (kNoteMax + 2) / 3 * 4 + 8)
            state.note = QByteArray::fromBase64(encoded.toLatin1()).left(kNoteMax);
        return state;
    }
    switch (presence.availableStatusType()) {
    case QXmppPresence::Away:
    case QXmppPresence::XA:
        state.type = 4;
        break;
    case QXmppPresence::DND:
        state.type = 3;
        break;
    default:
        state.type = 1;
        break;
    }
    state.note = presence.statusText().toLocal8Bit().left(kNoteMax);
    return state;
}

Presence::Profile Presence::fromVCard(const QDomElement &vcard)
{
    Profile profile;
    if (vcard.isNull())
        return profile;
    profile.name = vcard.firstChildElement(QStringLiteral("FN")).text();
    for (QDomElement tel = vcard.firstChildElement(QStringLiteral("TEL")); !tel.isNull();
         tel = tel.nextSiblingElement(QStringLiteral("TEL"))) {
        const QDomElement number = tel.firstChildElement(QStringLiteral("NUMBER"));
        if (!number.isNull()) {
            profile.number = number.text();
            break;
        }
    }
    profile.text = vcard.firstChildElement(QStringLiteral("DESC")).text();
    for (QDomElement e = vcard.firstChildElement(QStringLiteral("tq")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("tq"))) {
        if (e.namespaceURI() != kProfileNs)
            continue;
        for (int k = 0; k < 3; ++k)
            profile.numbers[k] = e.attribute(QStringLiteral("number%1").arg(k + 1)).toInt();
        profile.version = e.attribute(QStringLiteral("version")).toULongLong();
        break;
    }
    return profile;
}

void Presence::onPresence(const QXmppPresence &presence)
{
    const QString jid = QXmppUtils::jidToBareJid(presence.from()).toLower();
    if (jid.isEmpty() || jid == session().ownJid())
        return;
    const QString resource = QXmppUtils::jidToResource(presence.from());
    const State before = stateOf(jid);
    if (presence.type() == QXmppPresence::Available) {
        if (!m_seen.contains(jid) && !m_roster.contains(jid)
            && m_seen.size() >= m_roster.size() + kStrangersMax)
            return;
        auto &resources = m_seen[jid];
        if (!resources.contains(resource) && resources.size() >= kResourcesMax)
            return;
        const State state = fromPresence(presence);
        resources.insert(resource, {state, ++m_order});
        // A contact's profile changed since it was read: read it again.
        if (state.profile && m_rosterReady && m_roster.contains(jid)
            && m_profiles.value(jid).version != state.profile && !m_profileQueue.contains(jid)) {
            m_profileQueue << jid;
            fetchNextProfile();
        }
    } else if (presence.type() == QXmppPresence::Unavailable) {
        const auto it = m_seen.find(jid);
        if (it == m_seen.end())
            return;
        if (resource.isEmpty())
            it->clear();
        else
            it->remove(resource);
        if (it->isEmpty())
            m_seen.erase(it);
    } else {
        return;
    }
    if (m_rosterReady && m_roster.contains(jid) && stateOf(jid) != before)
        push({jid});
}

void Presence::onRoster()
{
    auto *roster = m_client ? m_client->findExtension<QXmppRosterManager>() : nullptr;
    if (!roster)
        return;
    m_roster.clear();
    QStringList jids;
    const QStringList all = roster->getRosterBareJids();
    for (const QString &bare : all) {
        const QString jid = bare.toLower();
        if (jid != session().ownJid() && !m_roster.contains(jid)) {
            m_roster.insert(jid);
            jids << jid;
        }
    }
    jids.sort();
    m_rosterReady = true;
    push(jids);
    // Display names and numbers follow as the contacts' profiles arrive.
    m_profileQueue = jids;
    fetchNextProfile();
}

Presence::State Presence::stateOf(const QString &jid) const
{
    if (jid == session().ownJid())
        return m_published ? m_own : State{1, 0, {}};
    const auto it = m_seen.constFind(jid);
    if (it != m_seen.constEnd() && !it->isEmpty()) {
        // The resource that spoke last stands for the contact.
        const Seen *best = nullptr;
        for (const Seen &seen : *it)
            if (!best || seen.order > best->order)
                best = &seen;
        return best->state;
    }
    // A contact not online is offline; of anyone else nothing is known.
    return State{m_roster.contains(jid) ? 2 : 0, 0, {}};
}

void Presence::fillState(ZS_PersonState &record, const QString &name, const QString &jid) const
{
    const State state = stateOf(jid);
    const Profile profile = m_profiles.value(jid);
    QString display = profile.name;
    if (display.isEmpty() && m_client && m_roster.contains(jid))
        if (auto *roster = m_client->findExtension<QXmppRosterManager>())
            display = roster->getRosterEntry(jid).name();
    put(record.text1, name);
    put(record.text2, display.isEmpty() ? name : display);
    put(record.text3, profile.number);
    // The publisher's code page: bytes as they came.
    putBytes(record.text4, state.note);
    record.number1 = state.type;
    record.number2 = state.subtype;
}

void Presence::push(const QStringList &jids)
{
    if (jids.isEmpty())
        return;
    std::vector<ZS_PersonState> records(std::size_t(jids.size()));
    for (int i = 0; i < jids.size(); ++i)
        fillState(records[std::size_t(i)], session().nameOf(jids[i]), jids[i]);
    invoke(&ZS_GeneralCallBack::onReceiveFriendsPublishPresence, int(records.size()),
           static_cast<const ZS_PersonState *>(records.data()));
}

void Presence::fetchNextProfile()
{
    if (m_fetching || !m_iq || !session().isOnline())
        return;
    while (!m_profileQueue.isEmpty()) {
        const QString jid = m_profileQueue.takeFirst();
        QXmppElement query;
        query.setTagName(QStringLiteral("vCard"));
        query.setAttribute(QStringLiteral("xmlns"), nsVCard);
        const bool sent
            = m_iq->send(QXmppIq::Get, jid, query, [this, jid](int reason, const QDomElement &iq) {
                  m_fetching = false;
                  if (reason == ZS_REASON_SUCCESS)
                      storeProfile(jid, fromVCard(iq.firstChildElement(QStringLiteral("vCard"))));
                  fetchNextProfile();
              });
        if (sent) {
            m_fetching = true;
            return;
        }
    }
}

void Presence::storeProfile(const QString &jid, const Profile &profile)
{
    if (jid != session().ownJid() && !m_roster.contains(jid))
        return; // kept for the roster only
    const Profile before = m_profiles.value(jid);
    m_profiles.insert(jid, profile);
    if (m_rosterReady && m_roster.contains(jid)
        && (before.name != profile.name || before.number != profile.number))
        push({jid});
}

void Presence::publish(unsigned int key, int type, int subtype, const QByteArray &note)
{
    m_own = {type, subtype, note.left(kNoteMax), m_own.profile};
    m_published = true;
    // While the connection is down it goes out with the next stream.
    m_unsent
        = !(m_client && session().isOnline() && m_client->sendPacket(withCaps(toPresence(m_own))));
    invoke(&ZS_GeneralCallBack::onPublishPresence, key, int(ZS_REASON_SUCCESS));
}

void Presence::announceProfile(unsigned long long version)
{
    m_own.profile = version;
    if (!m_published)
        m_own.type = 1; // what the plain presence of the stream said
    m_published = true;
    m_unsent
        = !(m_client && session().isOnline() && m_client->sendPacket(withCaps(toPresence(m_own))));
}

void Presence::userStates(unsigned int key, const QStringList &names, bool valid)
{
    if (!valid) {
        invoke(&ZS_GeneralCallBack::onGetUserState, key, int(ZS_REASON_BAD_REQUEST), 0,
               static_cast<const ZS_PersonState *>(nullptr));
        return;
    }
    std::vector<ZS_PersonState> records(std::size_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        fillState(records[std::size_t(i)], names[i], session().jidOf(names[i].trimmed()));
    invoke(&ZS_GeneralCallBack::onGetUserState, key, int(ZS_REASON_SUCCESS), int(records.size()),
           static_cast<const ZS_PersonState *>(records.empty() ? nullptr : records.data()));
}

void Presence::getInfo(unsigned int key, const QString &name)
{
    const auto answer = [key](int reason, const ZS_PersonInfo *info) {
        invoke(&ZS_GeneralCallBack::onGetPersonInfo, key, reason, info);
    };
    if (name.trimmed().isEmpty())
        return answer(ZS_REASON_NOT_FOUND, nullptr);
    if (!m_iq || !session().isOnline())
        return answer(ReasonUnreachable, nullptr);
    const QString jid = session().jidOf(name.trimmed());
    QXmppElement query;
    query.setTagName(QStringLiteral("vCard"));
    query.setAttribute(QStringLiteral("xmlns"), nsVCard);
    const bool sent = m_iq->send(
        QXmppIq::Get, jid, query, [this, jid, answer](int reason, const QDomElement &iq) {
            const QDomElement vcard = iq.firstChildElement(QStringLiteral("vCard"));
            if (reason == ZS_REASON_SUCCESS && vcard.isNull())
                reason = ZS_REASON_NOT_FOUND;
            if (reason != ZS_REASON_SUCCESS)
                return answer(reason, nullptr);
            const Profile profile = fromVCard(vcard);
            storeProfile(jid, profile);
            const auto record = makeRecord<ZS_PersonInfo>();
            put(record->text1, profile.name);
            put(record->text2, profile.number);
            put(record->text3, profile.text);
            record->number1 = profile.numbers[0];
            record->number2 = profile.numbers[1];
            record->number3 = profile.numbers[2];
            answer(ZS_REASON_SUCCESS, record.get());
        });
    if (!sent)
        answer(ReasonUnreachable, nullptr);
}

void Presence::setInfo(unsigned int key, const ZS_PersonInfo &info)
{
    const auto answer = [key](int reason, unsigned long long version) {
        invoke(&ZS_GeneralCallBack::onSetPersonInfo, key, reason, version);
    };
    if (!m_iq || !session().isOnline())
        return answer(ReasonUnreachable, 0);
    Profile profile;
    profile.name = fieldText(info.text1);
    profile.number = fieldText(info.text2);
    profile.text = fieldText(info.text3);
    profile.numbers[0] = info.number1;
    profile.numbers[1] = info.number2;
    profile.numbers[2] = info.number3;

    // Read the stored vCard first: its version is the floor of the new one, and the fields
    // other clients keep in it survive.
    QXmppElement query;
    query.setTagName(QStringLiteral("vCard"));
    query.setAttribute(QStringLiteral("xmlns"), nsVCard);
    const bool sent = m_iq->send(QXmppIq::Get, QString(), query,
                                 [this, key, profile](int reason, const QDomElement &iq) {
                                     writeProfile(key, profile, reason, iq);
                                 });
    if (!sent)
        answer(ReasonUnreachable, 0);
}

QXmppElement Presence::toVCard(const Profile &profile, const QDomElement &stored)
{
    QXmppElement vcard;
    vcard.setTagName(QStringLiteral("vCard"));
    vcard.setAttribute(QStringLiteral("xmlns"), nsVCard);
    for (QDomElement c = stored.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        const QString tag = c.tagName();
        if (tag != QLatin1String("FN") && tag != QLatin1String("TEL")
            && tag != QLatin1String("DESC") && c.namespaceURI() != kProfileNs)
            vcard.appendChild(QXmppElement(c));
    }
    vcard.appendChild(textElement(QStringLiteral("FN"), profile.name));
    QXmppElement tel;
    tel.setTagName(QStringLiteral("TEL"));
    tel.appendChild(textElement(QStringLiteral("NUMBER"), profile.number));
    vcard.appendChild(tel);
    vcard.appendChild(textElement(QStringLiteral("DESC"), profile.text));
    QXmppElement tq;
    tq.setTagName(QStringLiteral("tq"));
    tq.setAttribute(QStringLiteral("xmlns"), kProfileNs);
    for (int k = 0; k < 3; ++k)
        tq.setAttribute(QStringLiteral("number%1").arg(k + 1), QString::number(profile.numbers[k]));
    tq.setAttribute(QStringLiteral("version"), QString::number(profile.version));
    vcard.appendChild(tq);
    return vcard;
}

void Presence::writeProfile(unsigned int key, Profile profile, int readReason,
                            const QDomElement &iq)
{
    const auto answer = [key](int reason, unsigned long long version) {
        invoke(&ZS_GeneralCallBack::onSetPersonInfo, key, reason, version);
    };
    if (readReason != ZS_REASON_SUCCESS && readReason != ZS_REASON_NOT_FOUND)
        return answer(readReason, 0);
    const QDomElement stored = iq.firstChildElement(QStringLiteral("vCard"));
    const auto now = static_cast<unsigned long long>(QDateTime::currentMSecsSinceEpoch());
    profile.version = std::max({fromVCard(stored).version + 1, m_lastVersion + 1, now});
    const bool sent = m_iq
        && m_iq->send(QXmppIq::Set, QString(), toVCard(profile, stored),
                      [this, profile, answer](int reason, const QDomElement &) {
                          if (reason != ZS_REASON_SUCCESS)
                              return answer(reason, 0);
                          m_lastVersion = std::max(m_lastVersion, profile.version);
                          storeProfile(session().ownJid(), profile);
                          announceProfile(profile.version);
                          answer(ZS_REASON_SUCCESS, profile.version);
                      });
    if (!sent)
        answer(ReasonUnreachable, 0);
}

} // namespace zsxmpp
