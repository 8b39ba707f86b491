#include "XmppGroups.h"

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppMessages.h"
#include "XmppSession.h"
#include "XmppStanza.h"

#include <GroupNoticeBytes.h>

#include <QXmppClient.h>
#include <QXmppClientExtension.h>
#include <QXmppElement.h>
#include <QXmppIq.h>
#include <QXmppMessage.h>
#include <QXmppPresence.h>
#include <QXmppUtils.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDomDocument>
#include <QDomElement>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QUuid>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace zsxmpp {

namespace {

const QString nsMuc = QStringLiteral("http://jabber.org/protocol/muc");
const QString nsMucUser = QStringLiteral("http://jabber.org/protocol/muc#user");
const QString nsMucAdmin = QStringLiteral("http://jabber.org/protocol/muc#admin");
const QString nsMucOwner = QStringLiteral("http://jabber.org/protocol/muc#owner");
const QString nsBookmarks = QStringLiteral("storage:bookmarks");
const QString nsRegister = QStringLiteral("jabber:iq:register");
const QString nsData = QStringLiteral("jabber:x:data");
const QString nsDiscoInfo = QStringLiteral("http://jabber.org/protocol/disco#info");
const QString nsGroup = QStringLiteral("urn:tq:group:0");
const QString nsMam = QStringLiteral("urn:xmpp:mam:2");
const QString nsRsm = QStringLiteral("http://jabber.org/protocol/rsm");
const QString nsDelay = QStringLiteral("urn:xmpp:delay");
const QString nsStanzaId = QStringLiteral("urn:xmpp:sid:0");

constexpr int kTimeoutMs = 30000;
// Groups taken from the bookmarks, occupants kept per room and invitations or requests kept
// waiting: more are ignored (the network is not trusted with memory).
constexpr int kGroupsMax = 1000;
// The longest group id the records carry.
constexpr int kGroupIdMax = int(sizeof(ZS_GroupChangeInfo::groupId)) - 1;
// A room's archive is read a page at a time, and at most this much of it per login: the
// rest comes at the next one.
constexpr int kArchivePage = 100;
constexpr int kArchiveMax = 5000;
// The last message seen of each room is stored this long after it changed (and at logout).
constexpr int kMarksDelayMs = 2000;
constexpr int kOccupantsMax = 5000;
constexpr int kWaitingMax = 1000;

// Roles of the records (memberValue1, simpleValue2, SetGroupMemberRole) and affiliations.
enum Role { Ordinary = 0, Admin = 1, Owner = 2 };

int roleOf(const QString &affiliation)
{
    if (affiliation == QLatin1String("owner"))
        return Owner;
    if (affiliation == QLatin1String("admin"))
        return Admin;
    return Ordinary;
}

QXmppElement formField(const QString &var, const QString &value)
{
    QXmppElement field = element(QStringLiteral("field"));
    field.setAttribute(QStringLiteral("var"), var);
    field.appendChild(textElement(QStringLiteral("value"), value));
    return field;
}

// ---- notices ----

using Notice = tq::GroupNoticeFields;

void emitNotice(const Notice &n)
{
    Engine::get().trace(QStringLiteral("group notice %1 in %2: %3 about %4")
                            .arg(n.type)
                            .arg(escaped(n.groupId), escaped(n.sender), escaped(n.member)));
    std::vector<char> bytes = tq::groupNoticeBytes(n, dateText());
    ZS_GroupNotice notice{};
    notice.type = n.type;
    notice.detail = bytes.data();
    invoke(&ZS_MessageCallBack::onReceiveGroupNoticeMessage,
           static_cast<const ZS_GroupNotice *>(&notice));
}

void answerText(void (ZS_CALL *ZS_MessageCallBack::*entry)(unsigned int, int, const char *),
                unsigned int key, int reason, const QString &groupId)
{
    const QByteArray id = groupId.toUtf8();
    invoke(entry, key, reason, id.constData());
}

void answerTwoTexts(void (ZS_CALL *ZS_MessageCallBack::*entry)(unsigned int, int, const char *,
                                                               const char *, int),
                    unsigned int key, int reason, const QString &groupId, const QString &member,
                    int value)
{
    const QByteArray id = groupId.toUtf8();
    const QByteArray m = member.toUtf8();
    invoke(entry, key, reason, id.constData(), m.constData(), value);
}

} // namespace

// ---- state ----

struct Groups::State
{
    explicit State(Groups &owner)
        : q(owner)
    {
        marksTimer.setSingleShot(true);
        QObject::connect(&marksTimer, &QTimer::timeout, &owner, [this] { storeMarks(); });
    }

    Groups &q;
    Session &session() const { return q.session(); }

    struct Occupant
    {
        QString jid; // bare, lower case; empty when the room hides it
        QString affiliation;
        QString role;
    };

    struct Room
    {
        QString jid;
        Settings settings;
        bool joined = false; // the own presence came back
        bool joining = false;
        bool leaving = false; // quit or dismissed by this user: what follows is expected
        // 104s still to come for this user's own changes: the server answers the change, then
        // tells every occupant, this user included.
        int ownChanges = 0;
        bool configured = false; // settings known from the room or set by this user
        QHash<QString, Occupant> occupants; // by nickname, the own one included
        QString ownNick;
        std::vector<std::function<void(int)>> whenJoined;
        QSet<QString> invited; // bare JIDs this user invited, not answered yet
        QSet<QString> requests; // bare JIDs asking to join, not answered yet
    };

    struct Bookmark
    {
        QString jid;
        QString name;
    };

    struct PendingIq
    {
        QString to;
        std::function<void(int, const QDomElement &)> done;
    };

    QPointer<QXmppClient> client;
    QPointer<StanzaHook<Groups>> hook;
    QHash<QString, Room> rooms; // by room JID
    QList<Bookmark> bookmarks; // the user's groups, in the order stored
    // Other clients' entries, written back as found. Kept as DOM: a QXmppElement appended to
    // a tree keeps a pointer to that tree's root after it is gone (QXmpp 1.4), so each write
    // takes fresh copies.
    QDomDocument otherBookmarksDoc;
    QList<QDomElement> otherBookmarks;
    bool bookmarksLoaded = false; // answered: the list is what it will be
    bool bookmarksRead = false; // read from the server: may be written back
    QHash<QString, bool> rules; // room -> notify of its messages; unlisted: true
    bool rulesRead = false;
    std::vector<std::function<void()>> whenLoaded;
    // The last message seen of each room (its archive id), in private storage as
    //   <group-marks xmlns='urn:tq:group:0'><room jid='..' last='..'/></group-marks>
    // so that a new stream asks the room's archive only for what came after.
    QHash<QString, QString> marks;
    bool marksRead = false;
    bool marksDirty = false;
    QTimer marksTimer;
    struct ArchiveQuery
    {
        QString room;
        bool deliver = false; // false: only the last id is wanted
    };
    QHash<QString, ArchiveQuery> archiveQueries; // by query id
    QSet<QString> catchingUp; // rooms whose archive is being read
    // The offline messages of a stream wait for the rooms' archives: the stream's number, so
    // that what an earlier stream still reports releases nothing.
    int stream = 0;
    bool holding = false;
    bool reentering = false; // a new stream is coming or entering the user's groups
    // Short names of rooms whose address does not fit a record's group id.
    mutable QHash<QString, QString> aliases;
    QHash<QString, QString> invitations; // room -> invitor, to this user
    QHash<QString, QString> requested; // room -> owner asked by this user to let them in
    QHash<QString, PendingIq> iqs;

    bool connected() const { return client && client->isConnected(); }

    // ---- IQs ----

    // done(reason, answer) runs once: with the answer, a time-out (408) or the loss of the
    // session. `to` empty: the own account.
    void sendIq(QXmppIq::Type type, const QString &to, const QXmppElement &payload,
                std::function<void(int, const QDomElement &)> done)
    {
        PayloadIq iq;
        iq.setType(type);
        iq.setTo(to);
        iq.payload = payload;
        if (!connected() || !client->sendPacket(iq)) {
            done(ReasonUnreachable, {});
            return;
        }
        const QString id = iq.id();
        iqs.insert(id, {bareOf(to), std::move(done)});
        QTimer::singleShot(kTimeoutMs, &q, [this, id] { finishIq(id, ZS_REASON_TIMEOUT, {}); });
    }

    void finishIq(const QString &id, int reason, const QDomElement &iq)
    {
        const auto it = iqs.find(id);
        if (it == iqs.end())
            return;
        const auto done = std::move(it->done);
        iqs.erase(it);
        done(reason, iq);
    }

    bool handleIq(const QDomElement &iq)
    {
        const QString type = iq.attribute(QStringLiteral("type"));
        if (type != QLatin1String("result") && type != QLatin1String("error"))
            return false;
        const auto it = iqs.constFind(iq.attribute(QStringLiteral("id")));
        if (it == iqs.constEnd())
            return false;
        // Only the entity asked (the own account for private storage) answers.
        const QString from = bareOf(iq.attribute(QStringLiteral("from")));
        const QString own = session().ownJid();
        if (!from.isEmpty() && from != (it->to.isEmpty() ? own : it->to) && from != own)
            return false;
        finishIq(it.key(), reasonOf(iq), iq);
        return true;
    }

    void failIqs(int reason)
    {
        const auto pending = std::exchange(iqs, {});
        for (const PendingIq &p : pending)
            p.done(reason, {});
    }

    // ---- rooms ----

    QString ownNick() const { return session().ownJid(); }

    // Enters the room (or is in it): done(200) once the own presence is back, else the reason.
    void enter(const QString &room, std::function<void(int)> done)
    {
        Room &r = rooms[room];
        r.jid = room;
        if (r.joined) {
            done(ZS_REASON_SUCCESS);
            return;
        }
        r.whenJoined.push_back(std::move(done));
        if (r.joining)
            return;
        QXmppPresence presence(QXmppPresence::Available);
        presence.setTo(room + QLatin1Char('/') + ownNick());
        // No history with the entry: what the user missed comes from the room's archive,
        // after the last message seen, exactly once.
        QXmppElement x = element(QStringLiteral("x"), nsMuc);
        QXmppElement history = element(QStringLiteral("history"));
        history.setAttribute(QStringLiteral("maxstanzas"), QStringLiteral("0"));
        x.appendChild(history);
        presence.setExtensions({x});
        if (!connected() || !client->sendPacket(presence)) {
            joined(room, ReasonUnreachable);
            return;
        }
        r.joining = true;
        r.ownNick = ownNick();
        QTimer::singleShot(kTimeoutMs, &q, [this, room] {
            const auto it = rooms.find(room);
            if (it != rooms.end() && it->joining)
                joined(room, ZS_REASON_TIMEOUT);
        });
    }

    // The outcome of entering: runs what waited for it.
    void joined(const QString &room, int reason)
    {
        const auto it = rooms.find(room);
        if (it == rooms.end())
            return;
        it->joining = false;
        auto waiting = std::exchange(it->whenJoined, {});
        for (auto &done : waiting)
            done(reason);
        session().messages().roomsChanged();
        // A room entered for the first time: its last message is where the next login's
        // catching up starts.
        if (reason == ZS_REASON_SUCCESS && rooms.contains(room) && !marks.contains(room)
            && !catchingUp.contains(room))
            catchUp(room, {});
    }

    // Reads the room's name and desc (disco#info).
    void readInfo(const QString &room, std::function<void(int)> done)
    {
        QXmppElement query = element(QStringLiteral("query"), nsDiscoInfo);
        sendIq(QXmppIq::Get, room, query,
               [this, room, done = std::move(done)](int reason, const QDomElement &iq) {
                   if (reason == ZS_REASON_SUCCESS)
                       takeInfo(room, child(iq, QStringLiteral("query"), nsDiscoInfo));
                   done(reason);
               });
    }

    void takeInfo(const QString &room, const QDomElement &query)
    {
        QString name;
        QString desc;
        const QDomElement identity = query.firstChildElement(QStringLiteral("identity"));
        if (!identity.isNull())
            name = identity.attribute(QStringLiteral("name"));
        const QDomElement form = child(query, QStringLiteral("x"), nsData);
        for (QDomElement f = form.firstChildElement(QStringLiteral("field")); !f.isNull();
             f = f.nextSiblingElement(QStringLiteral("field"))) {
            const QString var = f.attribute(QStringLiteral("var"));
            const QString value = f.firstChildElement(QStringLiteral("value")).text();
            if (var == QLatin1String("muc#roominfo_description"))
                desc = value;
            else if (var == QLatin1String("muc#roomconfig_roomname") && !value.isEmpty())
                name = value;
        }
        Room &r = rooms[room];
        r.jid = room;
        r.settings = settingsOf(desc);
        r.configured = true;
        // Prosody names an unnamed room by its node.
        r.settings.name = name;
        renameBookmark(room, name);
    }

    QString nameOf(const QString &room) const
    {
        const auto it = rooms.constFind(room);
        if (it != rooms.constEnd() && !it->settings.name.isEmpty())
            return it->settings.name;
        for (const Bookmark &b : bookmarks)
            if (b.jid == room)
                return b.name;
        return QString();
    }

    Notice noticeIn(int type, const QString &room, const QString &senderJid,
                    const QString &memberJid) const
    {
        Notice n;
        n.type = type;
        n.groupId = q.groupIdOf(room);
        n.groupName = nameOf(room);
        n.sender = senderJid.isEmpty() ? QString() : session().nameOf(senderJid);
        n.member = memberJid.isEmpty() ? QString() : session().nameOf(memberJid);
        return n;
    }

    // The user is no longer in the room and no longer a member: the group is gone for them.
    void forget(const QString &room)
    {
        rooms.remove(room);
        invitations.remove(room);
        requested.remove(room);
        if (marks.remove(room))
            marksChanged();
        removeBookmark(room);
        if (rules.remove(room))
            storeRules([](int) {});
    }

    void sendToRoom(const QString &room, const QXmppElement &x, const QXmppElement &extra = {})
    {
        QXmppMessage m;
        m.setTo(room);
        m.setType(QXmppMessage::Normal);
        QXmppElementList extensions{x};
        if (!extra.isNull())
            extensions << extra;
        m.setExtensions(extensions);
        if (connected())
            client->sendPacket(m);
    }

    // An affiliation change by this user (muc#admin).
    void setAffiliation(const QString &room, const QString &jid, const QString &affiliation,
                        std::function<void(int)> done)
    {
        QXmppElement item = element(QStringLiteral("item"));
        item.setAttribute(QStringLiteral("jid"), jid);
        item.setAttribute(QStringLiteral("affiliation"), affiliation);
        QXmppElement query = element(QStringLiteral("query"), nsMucAdmin);
        query.appendChild(item);
        sendIq(QXmppIq::Set, room, query,
               [done = std::move(done)](int reason, const QDomElement &) { done(reason); });
    }

    // The affiliated users: owners, admins, then members.
    void fetchMembers(const QString &room,
                      std::function<void(int, QList<std::pair<QString, QString>>)> done)
    {
        auto list = std::make_shared<QList<std::pair<QString, QString>>>();
        auto step = std::make_shared<std::function<void(int)>>();
        *step = [this, room, list, step, done = std::move(done)](int index) {
            static const char *const affiliations[] = {"owner", "admin", "member"};
            if (index == 3) {
                done(ZS_REASON_SUCCESS, *list);
                *step = nullptr; // ends the cycle of the shared function
                return;
            }
            QXmppElement item = element(QStringLiteral("item"));
            item.setAttribute(QStringLiteral("affiliation"),
                              QString::fromLatin1(affiliations[index]));
            QXmppElement query = element(QStringLiteral("query"), nsMucAdmin);
            query.appendChild(item);
            sendIq(QXmppIq::Get, room, query,
                   [list, step, index, done](int reason, const QDomElement &iq) {
                       if (reason != ZS_REASON_SUCCESS) {
                           done(reason, {});
                           *step = nullptr;
                           return;
                       }
                       const QDomElement answer = child(iq, QStringLiteral("query"), nsMucAdmin);
                       for (QDomElement i = answer.firstChildElement(QStringLiteral("item"));
                            !i.isNull() && list->size() < kOccupantsMax;
                            i = i.nextSiblingElement(QStringLiteral("item")))
                           list->append({bareOf(i.attribute(QStringLiteral("jid"))),
                                         i.attribute(QStringLiteral("affiliation"))});
                       (*step)(index + 1);
                   });
        };
        (*step)(0);
    }

    // Submits the room's configuration: name, settings in the desc, persistent,
    // members-only, public for scope 1, JIDs shown to the members, members may invite.
    void configure(const QString &room, const Settings &settings, std::function<void(int)> done)
    {
        QXmppElement form = element(QStringLiteral("x"), nsData);
        form.setAttribute(QStringLiteral("type"), QStringLiteral("submit"));
        const auto field = [&form](const char *var, const QString &value) {
            form.appendChild(formField(QString::fromLatin1(var), value));
        };
        field("FORM_TYPE", QStringLiteral("http://jabber.org/protocol/muc#roomconfig"));
        field("muc#roomconfig_roomname", settings.name);
        field("muc#roomconfig_roomdesc", settingsText(settings));
        field("muc#roomconfig_persistentroom", QStringLiteral("1"));
        field("muc#roomconfig_membersonly", QStringLiteral("1"));
        field("muc#roomconfig_publicroom",
              settings.scope == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        field("muc#roomconfig_whois", QStringLiteral("anyone"));
        field("{http://prosody.im/protocol/muc}roomconfig_allowmemberinvites", QStringLiteral("1"));
        QXmppElement query = element(QStringLiteral("query"), nsMucOwner);
        query.appendChild(form);
        Room &r = rooms[room];
        // A change that changes nothing brings no 104.
        const Settings &before = r.settings;
        const bool changes = before.name != settings.name
            || settingsText(before) != settingsText(settings) || before.scope != settings.scope
            || !r.configured;
        if (changes)
            ++r.ownChanges;
        sendIq(QXmppIq::Set, room, query,
               [this, room, settings, changes, done = std::move(done)](int reason,
                                                                       const QDomElement &) {
                   const auto it = rooms.find(room);
                   if (it != rooms.end()) {
                       if (reason == ZS_REASON_SUCCESS) {
                           it->settings = settings;
                           it->configured = true;
                       } else if (changes && it->ownChanges > 0) {
                           --it->ownChanges;
                       }
                   }
                   done(reason);
               });
    }

    void destroy(const QString &room, std::function<void(int)> done)
    {
        const auto it = rooms.find(room);
        if (it != rooms.end())
            it->leaving = true;
        QXmppElement query = element(QStringLiteral("query"), nsMucOwner);
        QXmppElement destroyElement = element(QStringLiteral("destroy"));
        destroyElement.appendChild(
            textElement(QStringLiteral("reason"), QStringLiteral("dismissed")));
        query.appendChild(destroyElement);
        sendIq(QXmppIq::Set, room, query,
               [this, room, done = std::move(done)](int reason, const QDomElement &) {
                   if (reason == ZS_REASON_SUCCESS)
                       forget(room);
                   else if (rooms.contains(room))
                       rooms[room].leaving = false;
                   done(reason);
               });
    }

    // ---- bookmarks ----

    void loadBookmarks()
    {
        loadMarks([this] { readBookmarks(); });
    }

    void readBookmarks()
    {
        QXmppElement query = element(QStringLiteral("query"), nsPrivate);
        query.appendChild(element(QStringLiteral("storage"), nsBookmarks));
        const int own = stream;
        sendIq(QXmppIq::Get, QString(), query, [this, own](int reason, const QDomElement &iq) {
            if (own != stream)
                return; // an earlier stream's: the new one reads them again
            if (reason != ZS_REASON_SUCCESS)
                Engine::get().trace(QStringLiteral("bookmarks not read: %1").arg(reason));
            bookmarks.clear();
            otherBookmarks.clear();
            const QDomElement storage = child(child(iq, QStringLiteral("query"), nsPrivate),
                                              QStringLiteral("storage"), nsBookmarks);
            for (QDomElement c = storage.firstChildElement(); !c.isNull();
                 c = c.nextSiblingElement()) {
                const QString jid = bareOf(c.attribute(QStringLiteral("jid")));
                const bool group
                    = c.tagName() == QLatin1String("conference") && !q.groupIdOf(jid).isEmpty();
                if (!group || bookmarks.size() >= kGroupsMax) {
                    otherBookmarks << otherBookmarksDoc.importNode(c, true).toElement();
                    continue;
                }
                if (std::any_of(bookmarks.cbegin(), bookmarks.cend(),
                                [&](const Bookmark &b) { return b.jid == jid; }))
                    continue;
                bookmarks << Bookmark{jid, c.attribute(QStringLiteral("name"))};
            }
            bookmarksRead = reason == ZS_REASON_SUCCESS;
            // Each group is entered and its settings read, and the rules too, before the list
            // is answered: then it also tells the user's place in each.
            auto remaining = std::make_shared<int>(2 * bookmarks.size() + 1);
            const auto oneDone = [this, remaining] {
                if (--*remaining > 0)
                    return;
                bookmarksLoaded = true;
                reentering = false;
                session().messages().roomsChanged();
                auto waiting = std::exchange(whenLoaded, {});
                for (auto &fn : waiting)
                    fn();
            };
            // The offline messages wait for every room's archive.
            auto archives = std::make_shared<int>(bookmarks.size() + 1);
            const auto archiveDone = [this, archives, own = stream] {
                if (--*archives == 0 && own == stream)
                    release();
            };
            for (const Bookmark &b : qAsConst(bookmarks)) {
                enter(b.jid, [this, room = b.jid, oneDone, archiveDone](int entered) {
                    if (entered == ZS_REASON_SUCCESS)
                        catchUp(room, archiveDone);
                    else
                        archiveDone();
                    if (entered != ZS_REASON_SUCCESS) {
                        Engine::get().trace(QStringLiteral("group %1 not entered: %2")
                                                .arg(escaped(room), QString::number(entered)));
                        // Gone, or no longer the user's (while the user was away): forgotten.
                        if (entered == ZS_REASON_NOT_FOUND || entered == ZS_REASON_FORBIDDEN)
                            forget(room);
                    }
                    oneDone();
                });
                readInfo(b.jid, [oneDone](int) { oneDone(); });
            }
            archiveDone();
            loadRules(oneDone);
        });
    }

    // ---- member cards: in each member's vCard (XEP-0054) ----

    // The user's vCard (jid empty: the own one); done(reason, vCard element or null).
    void readVCard(const QString &jid, std::function<void(int, const QDomElement &)> done)
    {
        sendIq(QXmppIq::Get, jid, element(QStringLiteral("vCard"), nsVCard),
               [done = std::move(done)](int reason, const QDomElement &iq) {
                   done(reason, iq.firstChildElement(QStringLiteral("vCard")));
               });
    }

    static QDomElement cardIn(const QDomElement &vcard, const QString &room)
    {
        const QDomElement cards = child(vcard, QStringLiteral("group-cards"), nsGroup);
        int n = 0;
        for (QDomElement c = cards.firstChildElement(QStringLiteral("card"));
             !c.isNull() && n < kGroupsMax; c = c.nextSiblingElement(QStringLiteral("card")), ++n)
            if (bareOf(c.attribute(QStringLiteral("room"))) == room)
                return c;
        return {};
    }

    static void fillCard(ZS_GroupMemberCard &r, const QDomElement &card)
    {
        put(r.cardText3, card.firstChildElement(QStringLiteral("nick")).text());
        put(r.cardText4, card.firstChildElement(QStringLiteral("phone")).text());
        put(r.cardText5, card.firstChildElement(QStringLiteral("title")).text());
        put(r.cardText6, card.firstChildElement(QStringLiteral("remark")).text());
        r.cardValue3 = card.attribute(QStringLiteral("value")).toInt();
    }

    // The own vCard as stored, with the room's card replaced (other rooms' cards and every
    // other element stay).
    static QXmppElement withCard(const QDomElement &stored, const QString &room,
                                 const ZS_GroupMemberCard &card)
    {
        QXmppElement vcard = element(QStringLiteral("vCard"), nsVCard);
        QXmppElement cards = element(QStringLiteral("group-cards"), nsGroup);
        for (QDomElement c = stored.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
            if (c.tagName() != QLatin1String("group-cards"))
                vcard.appendChild(QXmppElement(c));
        const QDomElement old = child(stored, QStringLiteral("group-cards"), nsGroup);
        int n = 0;
        for (QDomElement c = old.firstChildElement(QStringLiteral("card"));
             !c.isNull() && n < kGroupsMax - 1; c = c.nextSiblingElement(QStringLiteral("card")))
            if (bareOf(c.attribute(QStringLiteral("room"))) != room) {
                cards.appendChild(QXmppElement(c));
                ++n;
            }
        QXmppElement mine = element(QStringLiteral("card"));
        mine.setAttribute(QStringLiteral("room"), room);
        mine.setAttribute(QStringLiteral("value"), QString::number(card.cardValue3));
        mine.appendChild(textElement(QStringLiteral("nick"), fieldText(card.cardText3)));
        mine.appendChild(textElement(QStringLiteral("phone"), fieldText(card.cardText4)));
        mine.appendChild(textElement(QStringLiteral("title"), fieldText(card.cardText5)));
        mine.appendChild(textElement(QStringLiteral("remark"), fieldText(card.cardText6)));
        cards.appendChild(mine);
        vcard.appendChild(cards);
        return vcard;
    }

    bool mutedIn(const QString &room, const QString &jid) const
    {
        const auto it = rooms.constFind(room);
        if (it == rooms.constEnd())
            return false;
        return std::any_of(it->occupants.cbegin(), it->occupants.cend(), [&](const Occupant &o) {
            return o.jid == jid && o.role == QLatin1String("visitor");
        });
    }

    // ---- the rooms' archives (XEP-0313 on the room) ----

    void release()
    {
        if (!holding)
            return;
        holding = false;
        session().messages().releaseOfflineBatch();
    }

    void loadMarks(std::function<void()> done)
    {
        QXmppElement query = element(QStringLiteral("query"), nsPrivate);
        query.appendChild(element(QStringLiteral("group-marks"), nsGroup));
        sendIq(QXmppIq::Get, QString(), query,
               [this, own = stream, done = std::move(done)](int reason, const QDomElement &iq) {
                   if (own != stream)
                       return; // an earlier stream's: the new one reads them again
                   // What this process saw is newer than what it stored a moment ago.
                   const QHash<QString, QString> seen = std::exchange(marks, {});
                   const QDomElement list = child(child(iq, QStringLiteral("query"), nsPrivate),
                                                  QStringLiteral("group-marks"), nsGroup);
                   for (QDomElement r = list.firstChildElement(QStringLiteral("room"));
                        !r.isNull() && marks.size() < kGroupsMax;
                        r = r.nextSiblingElement(QStringLiteral("room"))) {
                       const QString room = bareOf(r.attribute(QStringLiteral("jid")));
                       const QString last = r.attribute(QStringLiteral("last"));
                       if (!room.isEmpty()) // an empty last: from the archive's start
                           marks.insert(room, last);
                   }
                   for (auto it = seen.constBegin(); it != seen.constEnd(); ++it)
                       marks.insert(it.key(), it.value());
                   marksRead = reason == ZS_REASON_SUCCESS;
                   if (!seen.isEmpty())
                       marksChanged();
                   done();
               });
    }

    void marksChanged()
    {
        marksDirty = true;
        if (!marksTimer.isActive())
            marksTimer.start(kMarksDelayMs);
    }

    void storeMarks()
    {
        marksTimer.stop();
        if (!marksRead || !marksDirty || !connected())
            return; // never overwrite what was not read
        marksDirty = false;
        QXmppElement list = element(QStringLiteral("group-marks"), nsGroup);
        for (auto it = marks.constBegin(); it != marks.constEnd(); ++it) {
            QXmppElement r = element(QStringLiteral("room"));
            r.setAttribute(QStringLiteral("jid"), it.key());
            r.setAttribute(QStringLiteral("last"), xmlSafe(it.value()));
            list.appendChild(r);
        }
        QXmppElement query = element(QStringLiteral("query"), nsPrivate);
        query.appendChild(list);
        sendIq(QXmppIq::Set, QString(), query, [this](int reason, const QDomElement &) {
            if (reason != ZS_REASON_SUCCESS) {
                Engine::get().trace(QStringLiteral("group marks not stored: %1").arg(reason));
                if (reason != ReasonUnreachable)
                    marksChanged(); // tried again later
            }
        });
    }

    // Reads what the room archived after the user's mark (the user was away), then goes on
    // from the newest message; without a mark, only finds the newest. done() runs once.
    void catchUp(const QString &room, std::function<void()> done)
    {
        catchingUp.insert(room);
        const auto mark = marks.constFind(room);
        const bool known = mark != marks.constEnd();
        queryArchive(room, known ? *mark : QString(), known, 0, std::move(done));
    }

    void queryArchive(const QString &room, const QString &after, bool deliver, int delivered,
                      std::function<void()> done)
    {
        const QString queryId = QUuid::createUuid().toString(QUuid::WithoutBraces);
        QXmppElement query = element(QStringLiteral("query"), nsMam);
        query.setAttribute(QStringLiteral("queryid"), queryId);
        QXmppElement set = element(QStringLiteral("set"), nsRsm);
        set.appendChild(
            textElement(QStringLiteral("max"), QString::number(deliver ? kArchivePage : 1)));
        if (!deliver)
            set.appendChild(element(QStringLiteral("before"))); // the newest
        else if (!after.isEmpty())
            set.appendChild(textElement(QStringLiteral("after"), after));
        // else: from the oldest
        query.appendChild(set);
        archiveQueries.insert(queryId, {room, deliver});
        sendIq(QXmppIq::Set, room, query,
               [this, room, queryId, deliver, delivered,
                done = std::move(done)](int reason, const QDomElement &iq) mutable {
                   archiveQueries.remove(queryId);
                   const QDomElement fin = child(iq, QStringLiteral("fin"), nsMam);
                   const QString last = child(fin, QStringLiteral("set"), nsRsm)
                                            .firstChildElement(QStringLiteral("last"))
                                            .text();
                   if (reason == ZS_REASON_NOT_FOUND && deliver) {
                       // The mark is older than what the room keeps: start from the newest.
                       Engine::get().trace(
                           QStringLiteral("group %1: mark not in the archive").arg(escaped(room)));
                       queryArchive(room, QString(), false, delivered, std::move(done));
                       return;
                   }
                   if (reason != ZS_REASON_SUCCESS)
                       Engine::get().trace(QStringLiteral("group %1: archive not read: %2")
                                               .arg(escaped(room), QString::number(reason)));
                   // An empty archive: everything it will hold is new to the user.
                   if (reason == ZS_REASON_SUCCESS && rooms.contains(room)
                       && (!last.isEmpty() || !marks.contains(room))) {
                       marks.insert(room, last);
                       marksChanged();
                   }
                   const int now = delivered + kArchivePage;
                   if (reason == ZS_REASON_SUCCESS && deliver && !last.isEmpty()
                       && fin.attribute(QStringLiteral("complete")) != QLatin1String("true")
                       && now < kArchiveMax && rooms.contains(room)) {
                       queryArchive(room, last, true, now, std::move(done));
                       return;
                   }
                   Engine::get().trace(QStringLiteral("group %1: archive read (%2), mark %3")
                                           .arg(escaped(room), QString::number(reason),
                                                escaped(marks.value(room))));
                   catchingUp.remove(room);
                   if (done)
                       done();
               });
    }

    // One message of an archive query's answer.
    bool archived(const QString &room, const QDomElement &result)
    {
        const auto it = archiveQueries.constFind(result.attribute(QStringLiteral("queryid")));
        if (it == archiveQueries.constEnd() || it->room != room)
            return true; // not asked, or not by that room: dropped
        if (!it->deliver)
            return true;
        const QDomElement forwarded = child(result, QStringLiteral("forwarded"), nsForward);
        const QDomElement message = child(forwarded, QStringLiteral("message"), nsClient);
        if (message.isNull() || bareOf(message.attribute(QStringLiteral("from"))) != room)
            return true;
        const QDomElement delay = child(forwarded, QStringLiteral("delay"), nsDelay);
        const QDateTime stamp
            = QXmppUtils::datetimeFromString(delay.attribute(QStringLiteral("stamp")));
        session().messages().archivedGroup(message, stamp);
        return true;
    }

    // A message the room passed on live: the newest seen, unless the room's archive is being
    // read (what came before the archive's answer is in it).
    void noteArchived(const QString &room, const QDomElement &stanza)
    {
        if (!rooms.contains(room) || catchingUp.contains(room))
            return;
        for (QDomElement id = stanza.firstChildElement(QStringLiteral("stanza-id")); !id.isNull();
             id = id.nextSiblingElement(QStringLiteral("stanza-id")))
            if (id.namespaceURI() == nsStanzaId
                && bareOf(id.attribute(QStringLiteral("by"))) == room
                && !id.attribute(QStringLiteral("id")).isEmpty()) {
                marks.insert(room, id.attribute(QStringLiteral("id")));
                marksChanged();
                return;
            }
    }

    // ---- message rules: <group-rules xmlns='urn:tq:group:0'> in private storage ----

    void loadRules(std::function<void()> done)
    {
        QXmppElement query = element(QStringLiteral("query"), nsPrivate);
        query.appendChild(element(QStringLiteral("group-rules"), nsGroup));
        sendIq(QXmppIq::Get, QString(), query,
               [this, done = std::move(done)](int reason, const QDomElement &iq) {
                   rules.clear();
                   const QDomElement list = child(child(iq, QStringLiteral("query"), nsPrivate),
                                                  QStringLiteral("group-rules"), nsGroup);
                   for (QDomElement g = list.firstChildElement(QStringLiteral("group"));
                        !g.isNull() && rules.size() < kGroupsMax;
                        g = g.nextSiblingElement(QStringLiteral("group")))
                       rules.insert(bareOf(g.attribute(QStringLiteral("room"))),
                                    g.attribute(QStringLiteral("notice")) != QLatin1String("0"));
                   rulesRead = reason == ZS_REASON_SUCCESS;
                   done();
               });
    }

    // The whole list each time: writes on one stream keep their order, the last one wins.
    void storeRules(std::function<void(int)> done)
    {
        if (!rulesRead) {
            done(ZS_REASON_SERVER_ERROR); // never overwrite what was not read
            return;
        }
        QXmppElement list = element(QStringLiteral("group-rules"), nsGroup);
        for (auto it = rules.constBegin(); it != rules.constEnd(); ++it) {
            QXmppElement g = element(QStringLiteral("group"));
            g.setAttribute(QStringLiteral("room"), it.key());
            g.setAttribute(QStringLiteral("notice"),
                           it.value() ? QStringLiteral("1") : QStringLiteral("0"));
            list.appendChild(g);
        }
        QXmppElement query = element(QStringLiteral("query"), nsPrivate);
        query.appendChild(list);
        sendIq(QXmppIq::Set, QString(), query,
               [done = std::move(done)](int reason, const QDomElement &) { done(reason); });
    }

    void whenBookmarks(std::function<void()> fn)
    {
        if (bookmarksLoaded)
            fn();
        else
            whenLoaded.push_back(std::move(fn));
    }

    void addBookmark(const QString &room, const QString &name)
    {
        for (Bookmark &b : bookmarks)
            if (b.jid == room) {
                b.name = name;
                storeBookmarks();
                return;
            }
        bookmarks << Bookmark{room, name};
        storeBookmarks();
    }

    void renameBookmark(const QString &room, const QString &name)
    {
        for (Bookmark &b : bookmarks)
            if (b.jid == room && b.name != name) {
                b.name = name;
                storeBookmarks();
            }
    }

    void removeBookmark(const QString &room)
    {
        const int before = bookmarks.size();
        bookmarks.erase(std::remove_if(bookmarks.begin(), bookmarks.end(),
                                       [&](const Bookmark &b) { return b.jid == room; }),
                        bookmarks.end());
        if (bookmarks.size() != before)
            storeBookmarks();
    }

    void storeBookmarks()
    {
        if (!bookmarksRead)
            return; // never overwrite what was not read
        QXmppElement storage = element(QStringLiteral("storage"), nsBookmarks);
        for (const QDomElement &other : qAsConst(otherBookmarks))
            storage.appendChild(QXmppElement(other));
        for (const Bookmark &b : qAsConst(bookmarks)) {
            QXmppElement c = element(QStringLiteral("conference"));
            c.setAttribute(QStringLiteral("jid"), b.jid);
            c.setAttribute(QStringLiteral("name"), xmlSafe(b.name));
            c.setAttribute(QStringLiteral("autojoin"), QStringLiteral("true"));
            c.appendChild(textElement(QStringLiteral("nick"), ownNick()));
            storage.appendChild(c);
        }
        QXmppElement query = element(QStringLiteral("query"), nsPrivate);
        query.appendChild(storage);
        // At once, whole: writes on one stream keep their order, so the last one wins, and a
        // change is on its way before the notice that tells of it.
        sendIq(QXmppIq::Set, QString(), query, [](int reason, const QDomElement &) {
            if (reason != ZS_REASON_SUCCESS)
                Engine::get().trace(QStringLiteral("bookmarks not stored: %1").arg(reason));
        });
    }

    // ---- what the rooms send ----

    bool handlePresence(const QDomElement &p)
    {
        const QString from = p.attribute(QStringLiteral("from"));
        const QString room = bareOf(from);
        const auto it = rooms.find(room);
        if (it == rooms.end())
            // A room left a moment ago still reports; nothing for the roster's presence.
            return !child(p, QStringLiteral("x"), nsMucUser).isNull();
        Room &r = *it;
        const QString nick = QXmppUtils::jidToResource(from);
        const QString type = p.attribute(QStringLiteral("type"));
        if (type == QLatin1String("error")) {
            if (r.joining) {
                joined(room, reasonOf(p)); // may forget the room
                const auto again = rooms.constFind(room);
                if (again != rooms.constEnd() && !again->joined && !again->joining
                    && !isBookmarked(room))
                    rooms.remove(room);
            }
            return true;
        }
        const QDomElement x = child(p, QStringLiteral("x"), nsMucUser);
        QSet<int> codes;
        for (QDomElement s = x.firstChildElement(QStringLiteral("status")); !s.isNull();
             s = s.nextSiblingElement(QStringLiteral("status")))
            codes.insert(s.attribute(QStringLiteral("code")).toInt());
        const QDomElement item = x.firstChildElement(QStringLiteral("item"));
        const QDomElement actorItem = item.firstChildElement(QStringLiteral("actor"));
        QString actor = bareOf(actorItem.attribute(QStringLiteral("jid")));
        if (actor.isEmpty()
            && actorItem.attribute(QStringLiteral("nick")).contains(QLatin1Char('@')))
            actor = bareOf(actorItem.attribute(QStringLiteral("nick")));
        Occupant now;
        now.jid = bareOf(item.attribute(QStringLiteral("jid")));
        if (now.jid.isEmpty() && nick.contains(QLatin1Char('@')))
            now.jid = bareOf(nick); // nicknames are bare JIDs
        now.affiliation = item.attribute(QStringLiteral("affiliation"), QStringLiteral("none"));
        now.role = item.attribute(QStringLiteral("role"), QStringLiteral("none"));
        const bool self = codes.contains(110);

        if (type == QLatin1String("unavailable")) {
            const Occupant before = r.occupants.take(nick);
            if (self)
                ownLeft(room, x, codes, actor);
            else if (r.joined && !before.jid.isEmpty())
                otherLeft(room, before, codes, actor);
            return true;
        }
        if (type != QString() && type != QLatin1String("available"))
            return true;

        const auto known = r.occupants.constFind(nick);
        const bool existed = known != r.occupants.constEnd();
        const Occupant before = existed ? *known : Occupant();
        if (!existed && r.occupants.size() >= kOccupantsMax)
            return true;
        r.occupants.insert(nick, now);
        if (self && !r.joined) {
            r.joined = true;
            r.ownNick = nick;
            joined(room, ZS_REASON_SUCCESS);
            return true;
        }
        if (!r.joined)
            return true; // the occupants present before the own presence
        if (!existed) {
            otherJoined(room, now);
            return true;
        }
        if (before.role != now.role
            && (before.role == QLatin1String("visitor") || now.role == QLatin1String("visitor"))) {
            Notice n = noticeIn(ZS_GROUP_NOTICE_MEMBER_INFO, room, actor, now.jid);
            n.modifyDic = QStringLiteral("{\"isBan\":%1}")
                              .arg(now.role == QLatin1String("visitor") ? 1 : 0);
            emitNotice(n);
        }
        if (before.affiliation != now.affiliation) {
            Notice n = noticeIn(ZS_GROUP_NOTICE_ROLE, room, actor, now.jid);
            n.extraValue = roleOf(now.affiliation);
            emitNotice(n);
        }
        return true;
    }

    bool isBookmarked(const QString &room) const
    {
        return std::any_of(bookmarks.cbegin(), bookmarks.cend(),
                           [&](const Bookmark &b) { return b.jid == room; });
    }

    void otherJoined(const QString &room, const Occupant &who)
    {
        Room &r = rooms[room];
        if (who.jid.isEmpty())
            return;
        // Another client of someone already in the room is no news.
        int sessions = 0;
        for (const Occupant &o : qAsConst(r.occupants))
            sessions += o.jid == who.jid ? 1 : 0;
        if (sessions > 1)
            return;
        if (r.invited.remove(who.jid)) {
            Notice reply = noticeIn(ZS_GROUP_NOTICE_REPLY_INVITE, room, who.jid, who.jid);
            reply.extraValue = 1;
            emitNotice(reply);
        }
        emitNotice(noticeIn(ZS_GROUP_NOTICE_MEMBER_JOINED, room, who.jid, who.jid));
    }

    void otherLeft(const QString &room, const Occupant &who, const QSet<int> &codes,
                   const QString &actor)
    {
        Room &r = rooms[room];
        for (const Occupant &o : qAsConst(r.occupants))
            if (o.jid == who.jid)
                return; // still there with another client
        const bool lostAffiliation = codes.contains(321) || codes.contains(301);
        if (lostAffiliation && (actor.isEmpty() || actor == who.jid)) {
            emitNotice(noticeIn(ZS_GROUP_NOTICE_QUIT, room, who.jid, who.jid));
            return;
        }
        if (lostAffiliation || codes.contains(307))
            emitNotice(noticeIn(ZS_GROUP_NOTICE_REMOVED, room, actor, who.jid));
        // Else the member only went offline.
    }

    void ownLeft(const QString &room, const QDomElement &x, const QSet<int> &codes,
                 const QString &actor)
    {
        Room &r = rooms[room];
        const bool wasJoined = r.joined;
        r.joined = false;
        r.occupants.clear();
        if (r.leaving)
            return; // this user's own quit or dismissal, answered by its request
        if (!x.firstChildElement(QStringLiteral("destroy")).isNull()) {
            Notice n = noticeIn(ZS_GROUP_NOTICE_DISMISSED, room, r.settings.owner, QString());
            forget(room);
            emitNotice(n);
            return;
        }
        const bool lostAffiliation = codes.contains(321) || codes.contains(301);
        if (lostAffiliation || codes.contains(307)) {
            Notice n = noticeIn(ZS_GROUP_NOTICE_REMOVED, room, actor, session().ownJid());
            if (lostAffiliation)
                forget(room);
            emitNotice(n);
            return;
        }
        if (r.joining && !wasJoined)
            joined(room, ZS_REASON_SERVER_ERROR);
    }

    bool handleMessage(const QDomElement &m)
    {
        const QString from = m.attribute(QStringLiteral("from"));
        const QString type = m.attribute(QStringLiteral("type"));
        const QDomElement x = child(m, QStringLiteral("x"), nsMucUser);
        const QString room = bareOf(from);
        const QDomElement result = child(m, QStringLiteral("result"), nsMam);
        if (!result.isNull() && QXmppUtils::jidToResource(from).isEmpty() && q.isRoom(room))
            return archived(room, result);
        if (!x.isNull() && type != QLatin1String("groupchat") && type != QLatin1String("error")
            && QXmppUtils::jidToResource(from).isEmpty()) {
            const QDomElement inviteElement = x.firstChildElement(QStringLiteral("invite"));
            if (!inviteElement.isNull())
                return invited(room, inviteElement, m);
            const QDomElement decline = x.firstChildElement(QStringLiteral("decline"));
            if (!decline.isNull())
                return declined(room, decline);
        }
        if (type == QLatin1String("groupchat") && rooms.contains(room)
            && QXmppUtils::jidToResource(from).isEmpty()
            && m.firstChildElement(QStringLiteral("body")).isNull()) {
            // The room's own news: 104, its configuration changed.
            for (QDomElement s = x.firstChildElement(QStringLiteral("status")); !s.isNull();
                 s = s.nextSiblingElement(QStringLiteral("status")))
                if (s.attribute(QStringLiteral("code")) == QLatin1String("104")) {
                    Room &r = rooms[room];
                    if (r.ownChanges > 0) {
                        --r.ownChanges;
                        break;
                    }
                    readInfo(room, [this, room](int) {
                        if (rooms.contains(room))
                            emitNotice(
                                noticeIn(ZS_GROUP_NOTICE_MODIFIED, room, QString(), QString()));
                    });
                    break;
                }
            return true;
        }
        if (type == QLatin1String("groupchat") && rooms.contains(room)
            && !child(m, QStringLiteral("card-changed"), nsGroup).isNull()) {
            // A member changed their card; the member said so (the own echo tells nothing).
            const QString nick = QXmppUtils::jidToResource(from);
            const QString jid = q.memberJid(room, nick);
            if (!nick.isEmpty() && nick != rooms.value(room).ownNick && !jid.isEmpty()) {
                Notice n = noticeIn(ZS_GROUP_NOTICE_MEMBER_INFO, room, jid, jid);
                n.modifyDic = QStringLiteral("{\"card\":1}");
                emitNotice(n);
            }
            return true;
        }
        if (type == QLatin1String("error") || type == QLatin1String("groupchat"))
            return false;
        const QDomElement request = child(m, QStringLiteral("join-request"), nsGroup);
        if (!request.isNull())
            return joinRequested(bareOf(from), request);
        const QDomElement reply = child(m, QStringLiteral("join-reply"), nsGroup);
        if (!reply.isNull())
            return joinAnswered(bareOf(from), reply);
        return false;
    }

    bool invited(const QString &room, const QDomElement &invite, const QDomElement &m)
    {
        const QString groupId = q.groupIdOf(room);
        const QString invitor = bareOf(invite.attribute(QStringLiteral("from")));
        if (groupId.isEmpty() || invitor.isEmpty())
            return true; // not a group: nothing the caller knows how to show
        if (!invitations.contains(room) && invitations.size() >= kWaitingMax)
            return true;
        invitations.insert(room, invitor);
        Notice n = noticeIn(ZS_GROUP_NOTICE_INVITE, room, invitor, session().ownJid());
        const QDomElement group = child(m, QStringLiteral("group"), nsGroup);
        if (n.groupName.isEmpty())
            n.groupName = group.attribute(QStringLiteral("name"));
        n.extraText1 = invite.firstChildElement(QStringLiteral("reason")).text();
        emitNotice(n);
        return true;
    }

    bool declined(const QString &room, const QDomElement &decline)
    {
        const QString who = bareOf(decline.attribute(QStringLiteral("from")));
        const auto it = rooms.find(room);
        if (it == rooms.end() || who.isEmpty())
            return true;
        it->invited.remove(who);
        Notice n = noticeIn(ZS_GROUP_NOTICE_REPLY_INVITE, room, who, who);
        n.extraValue = 0;
        n.extraText1 = decline.firstChildElement(QStringLiteral("reason")).text();
        emitNotice(n);
        // The server made the invitee a member when it passed the invitation on; refused,
        // that membership goes again (an owner's or admin's right).
        const QString own = it->occupants.value(it->ownNick).affiliation;
        const bool present = std::any_of(it->occupants.cbegin(), it->occupants.cend(),
                                         [&](const Occupant &o) { return o.jid == who; });
        if ((own == QLatin1String("owner") || own == QLatin1String("admin")) && !present)
            setAffiliation(room, who, QStringLiteral("none"), [room](int reason) {
                if (reason != ZS_REASON_SUCCESS)
                    Engine::get().trace(QStringLiteral("membership after a refusal in %1 kept: %2")
                                            .arg(escaped(room), QString::number(reason)));
            });
        return true;
    }

    bool joinRequested(const QString &from, const QDomElement &request)
    {
        const QString room = bareOf(request.attribute(QStringLiteral("room")));
        const auto it = rooms.find(room);
        if (it == rooms.end() || q.groupIdOf(room).isEmpty())
            return true;
        const QString own = it->occupants.value(it->ownNick).affiliation;
        if (own != QLatin1String("owner") && own != QLatin1String("admin"))
            return true;
        if (!it->requests.contains(from) && it->requests.size() >= kWaitingMax)
            return true;
        it->requests.insert(from);
        Notice n = noticeIn(ZS_GROUP_NOTICE_REQUEST_JOIN, room, from, from);
        n.extraText1 = request.firstChildElement(QStringLiteral("reason")).text();
        emitNotice(n);
        return true;
    }

    bool joinAnswered(const QString &from, const QDomElement &reply)
    {
        const QString room = bareOf(reply.attribute(QStringLiteral("room")));
        const auto asked = requested.constFind(room);
        if (asked == requested.constEnd() || *asked != from)
            return true; // not asked, not the one asked, or answered already
        requested.erase(asked);
        const int confirm = reply.attribute(QStringLiteral("confirm")) == QLatin1String("1");
        Notice n = noticeIn(ZS_GROUP_NOTICE_REPLY_REQUEST, room, from, session().ownJid());
        n.extraValue = confirm;
        emitNotice(n);
        if (confirm)
            enterAsMember(room);
        return true;
    }

    // Joins a room the user has just become a member of: bookmark, members to the caller.
    void enterAsMember(const QString &room, std::function<void(int)> done = {})
    {
        enter(room, [this, room, done = std::move(done)](int reason) {
            if (reason == ZS_REASON_SUCCESS)
                addBookmark(room, nameOf(room)); // one of the user's groups from now on
            if (done)
                done(reason);
            if (reason != ZS_REASON_SUCCESS)
                return;
            // The settings (for the name), then the members for the caller.
            readInfo(room, [this, room](int) {
                renameBookmark(room, nameOf(room));
                fetchMembers(room,
                             [this, room](int fetched, QList<std::pair<QString, QString>> list) {
                                 const auto it = rooms.constFind(room);
                                 if (it == rooms.constEnd())
                                     return;
                                 Notice n = noticeIn(ZS_GROUP_NOTICE_JOINED, room,
                                                     session().ownJid(), session().ownJid());
                                 if (fetched != ZS_REASON_SUCCESS) { // those in the room, then
                                     list.clear();
                                     for (const Occupant &o : it->occupants)
                                         if (!o.jid.isEmpty())
                                             list.append({o.jid, o.affiliation});
                                 }
                                 for (const auto &member : qAsConst(list))
                                     n.members.append({session().nameOf(member.first),
                                                       session().nameOf(member.first)});
                                 emitNotice(n);
                             });
            });
        });
    }
};

// ---- Groups ----

Groups::Groups(Session &session)
    : Feature(session)
    , d(new State(*this))
{ }

Groups::~Groups() = default;

QString Groups::service() const
{
    return QStringLiteral("conference.") + session().domain();
}

QString Groups::roomJid(const QString &groupId) const
{
    static const QRegularExpression aliasId(QStringLiteral("^g[0-9a-f]{20}$"));
    const QString id = groupId.trimmed().toLower();
    if (!id.startsWith(QLatin1Char('g')) || id.contains(QLatin1Char('/')))
        return QString();
    if (aliasId.match(id).hasMatch())
        return d->aliases.value(id);
    if (id.contains(QLatin1Char('@')))
        return id.section(QLatin1Char('@'), 1).isEmpty() ? QString() : id;
    return id + QLatin1Char('@') + service();
}

QString Groups::groupIdOf(const QString &roomJid) const
{
    const QString room = bareOf(roomJid);
    const QString node = QXmppUtils::jidToUser(room);
    if (!node.startsWith(QLatin1Char('g')))
        return QString();
    if (QXmppUtils::jidToDomain(room) == service())
        return node;
    if (room.toUtf8().size() <= kGroupIdMax)
        return room;
    // Too long for the records: a name made from the address, known to this process once
    // the room is (an invitation, the bookmarks).
    const QString alias
        = QLatin1Char('g')
        + QString::fromLatin1(
              QCryptographicHash::hash(room.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
    if (d->aliases.size() < 10 * kGroupsMax)
        d->aliases.insert(alias, room);
    return alias;
}

bool Groups::isGroupId(const QString &receiver) const
{
    static const QRegularExpression ownId(QStringLiteral("^g[0-9a-f]{10}$"));
    const QString id = receiver.trimmed().toLower();
    if (!id.startsWith(QLatin1Char('g')))
        return false;
    return ownId.match(id).hasMatch() || d->rooms.contains(roomJid(id))
        || (id.contains(QLatin1Char('@')) && isRoom(id));
}

bool Groups::isRoom(const QString &jid) const
{
    const QString room = bareOf(jid);
    if (!QXmppUtils::jidToUser(room).startsWith(QLatin1Char('g')))
        return false;
    const QString domain = QXmppUtils::jidToDomain(room);
    // Rooms of other servers live on their "conference." services too.
    return domain == service() || domain.startsWith(QLatin1String("conference."))
        || d->rooms.contains(room);
}

QString Groups::memberJid(const QString &roomJid, const QString &nick) const
{
    const auto it = d->rooms.constFind(bareOf(roomJid));
    return it == d->rooms.constEnd() ? QString() : it->occupants.value(nick).jid;
}

QString Groups::ownNick(const QString &roomJid) const
{
    const auto it = d->rooms.constFind(bareOf(roomJid));
    return it == d->rooms.constEnd() ? QString() : it->ownNick;
}

bool Groups::awaitsEntry(const QString &roomJid) const
{
    // Until the bookmarks are read and entered, any room may be one of the user's.
    if (d->reentering)
        return true;
    const auto it = d->rooms.constFind(bareOf(roomJid));
    return it != d->rooms.constEnd() && !it->joined && it->joining;
}

bool Groups::isJoined(const QString &groupId) const
{
    const auto it = d->rooms.constFind(roomJid(groupId));
    return it != d->rooms.constEnd() && it->joined;
}

bool Groups::maySpeak(const QString &groupId) const
{
    const auto it = d->rooms.constFind(roomJid(groupId));
    if (it == d->rooms.constEnd() || !it->joined)
        return false;
    const QString role = it->occupants.value(it->ownNick).role;
    return role == QLatin1String("participant") || role == QLatin1String("moderator");
}

QString Groups::settingsText(const Settings &s)
{
    const QJsonObject o{
        {"declared", s.declared},   {"type", s.type},      {"province", s.province},
        {"city", s.city},           {"scope", s.scope},    {"permission", s.permission},
        {"isDismiss", s.isDismiss}, {"domain", s.domain},  {"discuss", s.discuss},
        {"owner", s.owner},         {"created", s.created}};
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

Groups::Settings Groups::settingsOf(const QString &desc)
{
    Settings s;
    const QJsonDocument doc = QJsonDocument::fromJson(desc.toUtf8());
    if (!doc.isObject()) {
        s.declared = desc;
        return s;
    }
    const QJsonObject o = doc.object();
    s.declared = o.value(QStringLiteral("declared")).toString();
    s.type = o.value(QStringLiteral("type")).toInt();
    s.province = o.value(QStringLiteral("province")).toString();
    s.city = o.value(QStringLiteral("city")).toString();
    s.scope = o.value(QStringLiteral("scope")).toInt();
    s.permission = o.value(QStringLiteral("permission")).toInt();
    s.isDismiss = o.value(QStringLiteral("isDismiss")).toInt();
    s.domain = o.value(QStringLiteral("domain")).toString();
    s.discuss = o.value(QStringLiteral("discuss")).toBool();
    s.owner = bareOf(o.value(QStringLiteral("owner")).toString());
    s.created = o.value(QStringLiteral("created")).toString();
    return s;
}

namespace {

std::unique_ptr<ZS_GroupDetailInfo> detailOf(const QString &groupId, const Groups::Settings &s,
                                             const QString &owner, int members, bool domainAsBase64)
{
    auto r = makeRecord<ZS_GroupDetailInfo>();
    put(r->groupId, groupId);
    put(r->name, s.name);
    put(r->detailText3, owner);
    r->type = s.type;
    put(r->province, s.province);
    put(r->city, s.city);
    r->scope = s.scope;
    put(r->declared, s.declared);
    put(r->detailText9, s.created);
    r->permission = s.permission;
    r->detailValue2 = members;
    r->detailValue3 = s.isDismiss;
    put(r->groupDomain,
        domainAsBase64 ? QString::fromLatin1(s.domain.toUtf8().toBase64()) : s.domain);
    r->isDiscuss = s.discuss ? 1 : 0;
    return r;
}

} // namespace

void Groups::create(unsigned int key, Settings settings)
{
    const auto fail = [key, settings](int reason) {
        const auto record = detailOf(QString(), settings, QString(), 0, false);
        invoke(&ZS_MessageCallBack::onCreateGroup, key, reason,
               static_cast<const ZS_GroupDetailInfo *>(record.get()));
    };
    if (settings.name.trimmed().isEmpty()) {
        fail(ZS_REASON_BAD_REQUEST);
        return;
    }
    QString groupId = QStringLiteral("g");
    for (int i = 0; i < 10; ++i)
        groupId += QString::number(QRandomGenerator::global()->bounded(16), 16);
    const QString room = roomJid(groupId);
    // What the answer shows is what the room keeps.
    for (QString *text :
         {&settings.name, &settings.declared, &settings.province, &settings.city, &settings.domain})
        *text = xmlSafe(*text);
    settings.owner = session().ownJid();
    settings.created = dateText();
    d->rooms[room].settings = settings;
    d->enter(room, [this, key, room, groupId, settings, fail](int entered) {
        if (entered != ZS_REASON_SUCCESS) {
            d->rooms.remove(room);
            fail(entered);
            return;
        }
        d->configure(room, settings, [this, key, room, groupId, settings, fail](int reason) {
            if (reason != ZS_REASON_SUCCESS) {
                // A room left locked and half made serves nobody.
                d->destroy(room, [](int) {});
                fail(reason);
                return;
            }
            d->addBookmark(room, settings.name);
            const auto record = detailOf(groupId, settings, session().ownName(), 1, false);
            invoke(&ZS_MessageCallBack::onCreateGroup, key, int(ZS_REASON_SUCCESS),
                   static_cast<const ZS_GroupDetailInfo *>(record.get()));
        });
    });
}

void Groups::dismiss(unsigned int key, const QString &groupId)
{
    const QString room = roomJid(groupId);
    if (room.isEmpty()) {
        answerText(&ZS_MessageCallBack::onDismissGroup, key, ZS_REASON_NOT_FOUND, groupId);
        return;
    }
    const auto it = d->rooms.find(room);
    if (it != d->rooms.end() && it->joined
        && it->occupants.value(it->ownNick).affiliation != QLatin1String("owner")) {
        answerText(&ZS_MessageCallBack::onDismissGroup, key, ZS_REASON_FORBIDDEN, groupId);
        return;
    }
    d->destroy(room, [key, groupId](int reason) {
        answerText(&ZS_MessageCallBack::onDismissGroup, key, reason, groupId);
    });
}

void Groups::quit(unsigned int key, const QString &groupId)
{
    const QString room = roomJid(groupId);
    if (room.isEmpty()) {
        answerText(&ZS_MessageCallBack::onQuitGroup, key, ZS_REASON_NOT_FOUND, groupId);
        return;
    }
    const auto it = d->rooms.find(room);
    const QString own
        = it != d->rooms.end() ? it->occupants.value(it->ownNick).affiliation : QString();
    // The owner dismisses the group instead; an admin is made a member by the owner first
    // (the server keeps affiliations above member on a cancelled registration).
    if (own == QLatin1String("owner") || own == QLatin1String("admin")) {
        answerText(&ZS_MessageCallBack::onQuitGroup, key, ZS_REASON_FORBIDDEN, groupId);
        return;
    }
    if (it != d->rooms.end())
        it->leaving = true;
    // Cancelling the registration drops the membership; the server removes the occupant with
    // status 321, which the others see as a quit.
    QXmppElement query = element(QStringLiteral("query"), nsRegister);
    query.appendChild(element(QStringLiteral("remove")));
    d->sendIq(QXmppIq::Set, room, query,
              [this, key, room, groupId](int reason, const QDomElement &) {
                  if (reason == ZS_REASON_SUCCESS) {
                      const auto left = d->rooms.constFind(room);
                      if (left != d->rooms.constEnd() && left->joined) {
                          QXmppPresence leave(QXmppPresence::Unavailable);
                          leave.setTo(room + QLatin1Char('/') + left->ownNick);
                          if (d->connected())
                              d->client->sendPacket(leave);
                      }
                      d->forget(room);
                  } else if (d->rooms.contains(room)) {
                      d->rooms[room].leaving = false;
                  }
                  answerText(&ZS_MessageCallBack::onQuitGroup, key, reason, groupId);
              });
}

void Groups::join(unsigned int key, const QString &groupId, const QString &declared)
{
    const QString room = roomJid(groupId);
    if (room.isEmpty()) {
        answerText(&ZS_MessageCallBack::onJoinGroup, key, ZS_REASON_NOT_FOUND, groupId);
        return;
    }
    if (isJoined(groupId)) {
        answerText(&ZS_MessageCallBack::onJoinGroup, key, ZS_REASON_BAD_REQUEST, groupId);
        return;
    }
    // The owner named in the desc decides.
    d->readInfo(room, [this, key, room, groupId, declared](int reason) {
        if (reason != ZS_REASON_SUCCESS) {
            answerText(&ZS_MessageCallBack::onJoinGroup, key, reason, groupId);
            return;
        }
        const QString owner = d->rooms.value(room).settings.owner;
        if (owner.isEmpty() || !d->connected()) {
            answerText(&ZS_MessageCallBack::onJoinGroup, key,
                       owner.isEmpty() ? int(ZS_REASON_FORBIDDEN) : int(ReasonUnreachable),
                       groupId);
            return;
        }
        QXmppElement request = element(QStringLiteral("join-request"), nsGroup);
        request.setAttribute(QStringLiteral("room"), room);
        request.appendChild(textElement(QStringLiteral("reason"), declared));
        QXmppMessage m;
        m.setTo(owner);
        m.setType(QXmppMessage::Normal);
        m.setExtensions({request});
        d->client->sendPacket(m);
        if (d->requested.contains(room) || d->requested.size() < kWaitingMax)
            d->requested.insert(room, owner);
        answerText(&ZS_MessageCallBack::onJoinGroup, key, ZS_REASON_SUCCESS, groupId);
    });
}

void Groups::replyRequest(unsigned int key, const QString &groupId, const QString &member,
                          int confirm)
{
    const QString room = roomJid(groupId);
    const QString jid = session().jidOf(member);
    const auto it = d->rooms.find(room);
    const auto answer = [key, groupId, member, confirm](int reason) {
        answerTwoTexts(&ZS_MessageCallBack::onReplyRequestJoinGroup, key, reason, groupId, member,
                       confirm);
    };
    if (room.isEmpty() || it == d->rooms.end() || !it->requests.contains(jid)) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    const auto reply = [this, room, jid, confirm] {
        QXmppElement r = element(QStringLiteral("join-reply"), nsGroup);
        r.setAttribute(QStringLiteral("room"), room);
        r.setAttribute(QStringLiteral("confirm"),
                       confirm == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        QXmppMessage m;
        m.setTo(jid);
        m.setType(QXmppMessage::Normal);
        m.setExtensions({r});
        if (d->connected())
            d->client->sendPacket(m);
    };
    if (confirm != 1) {
        it->requests.remove(jid);
        reply();
        answer(ZS_REASON_SUCCESS);
        return;
    }
    d->setAffiliation(room, jid, QStringLiteral("member"),
                      [this, room, jid, reply, answer](int reason) {
                          if (reason == ZS_REASON_SUCCESS) {
                              if (d->rooms.contains(room))
                                  d->rooms[room].requests.remove(jid);
                              reply();
                          }
                          answer(reason);
                      });
}

void Groups::invite(unsigned int key, const QString &groupId, const QString &declared,
                    const QStringList &members, int confirm)
{
    const QString room = roomJid(groupId);
    const auto answer = [key, groupId, members, confirm](int reason) {
        std::vector<QByteArray> texts;
        for (const QString &m : members)
            texts.push_back(m.toUtf8());
        std::vector<const char *> array;
        for (const QByteArray &t : texts)
            array.push_back(t.constData());
        const QByteArray id = groupId.toUtf8();
        invoke(&ZS_MessageCallBack::onInviteJoinGroup, key, reason, id.constData(),
               static_cast<const char *const *>(array.empty() ? nullptr : array.data()),
               int(array.size()), confirm);
    };
    if (room.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    if (members.isEmpty()) {
        answer(ZS_REASON_BAD_REQUEST);
        return;
    }
    if (!d->connected()) {
        answer(ReasonUnreachable);
        return;
    }
    auto &r = d->rooms[room];
    r.jid = room;
    for (const QString &member : members) {
        const QString jid = session().jidOf(member.trimmed());
        if (jid.isEmpty() || jid == session().ownJid())
            continue;
        // Mediated: the room passes it on and makes the invitee a member.
        QXmppElement invite = element(QStringLiteral("invite"));
        invite.setAttribute(QStringLiteral("to"), jid);
        invite.appendChild(textElement(QStringLiteral("reason"), declared));
        QXmppElement x = element(QStringLiteral("x"), nsMucUser);
        x.appendChild(invite);
        QXmppElement group = element(QStringLiteral("group"), nsGroup);
        group.setAttribute(QStringLiteral("name"), xmlSafe(d->nameOf(room)));
        d->sendToRoom(room, x, group);
        if (r.invited.size() < kWaitingMax)
            r.invited.insert(jid);
    }
    answer(ZS_REASON_SUCCESS);
}

void Groups::replyInvite(unsigned int key, const QString &groupId, const QString &invitor,
                         int confirm)
{
    const QString room = roomJid(groupId);
    const auto answer = [key, groupId, invitor, confirm](int reason) {
        answerTwoTexts(&ZS_MessageCallBack::onReplyInviteJoinGroup, key, reason, groupId, invitor,
                       confirm);
    };
    if (room.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    QString from = d->invitations.take(room);
    if (!invitor.trimmed().isEmpty())
        from = session().jidOf(invitor.trimmed());
    if (confirm == 1) {
        d->enterAsMember(room, [this, room, answer](int reason) {
            if (reason != ZS_REASON_SUCCESS && !d->isBookmarked(room))
                d->rooms.remove(room);
            answer(reason);
        });
        return;
    }
    if (from.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    QXmppElement decline = element(QStringLiteral("decline"));
    decline.setAttribute(QStringLiteral("to"), from);
    QXmppElement x = element(QStringLiteral("x"), nsMucUser);
    x.appendChild(decline);
    if (!d->connected()) {
        answer(ReasonUnreachable);
        return;
    }
    d->sendToRoom(room, x);
    answer(ZS_REASON_SUCCESS);
}

void Groups::queryOwn(unsigned int key, const QString &border, int pageSize)
{
    d->whenBookmarks([this, key, border, pageSize] {
        std::vector<ZS_GroupSimpleInfo> records;
        bool after = border.isEmpty();
        for (const State::Bookmark &b : qAsConst(d->bookmarks)) {
            const QString id = groupIdOf(b.jid);
            if (!after) {
                after = id == border.trimmed().toLower();
                continue;
            }
            if (pageSize > 0 && int(records.size()) >= pageSize)
                break;
            ZS_GroupSimpleInfo r{};
            const auto it = d->rooms.constFind(b.jid);
            const Settings s = it != d->rooms.constEnd() ? it->settings : Settings();
            put(r.groupId, id);
            put(r.name, s.name.isEmpty() ? b.name : s.name);
            put(r.simpleText3, s.owner.isEmpty() ? QString() : session().nameOf(s.owner));
            if (it != d->rooms.constEnd()) {
                r.simpleValue1 = it->occupants.size();
                r.simpleValue2 = roleOf(it->occupants.value(it->ownNick).affiliation);
            }
            r.simpleValue3 = d->rules.value(b.jid, true) ? 1 : 0;
            r.simpleValue4 = s.permission;
            r.simpleFlag = s.discuss ? 1 : 0;
            r.type = s.type;
            records.push_back(r);
        }
        invoke(&ZS_MessageCallBack::onQueryOwnGroup, key, int(ZS_REASON_SUCCESS),
               int(records.size()),
               static_cast<const ZS_GroupSimpleInfo *>(records.empty() ? nullptr : records.data()));
    });
}

namespace {

std::unique_ptr<ZS_GroupChangeInfo> changeOf(const QString &groupId, const Groups::Settings &s)
{
    auto r = makeRecord<ZS_GroupChangeInfo>();
    put(r->groupId, groupId);
    put(r->name, s.name);
    r->type = s.type;
    put(r->province, s.province);
    put(r->city, s.city);
    r->scope = s.scope;
    put(r->declared, s.declared);
    r->permission = s.permission;
    put(r->groupDomain, s.domain);
    r->isDiscuss = s.discuss ? 1 : 0;
    return r;
}

} // namespace

void Groups::modify(unsigned int key, const QString &groupId, Settings changes)
{
    const QString room = roomJid(groupId);
    for (QString *text :
         {&changes.name, &changes.declared, &changes.province, &changes.city, &changes.domain})
        *text = xmlSafe(*text);
    const auto answer = [key, groupId](int reason, const Settings &s) {
        const auto record = changeOf(groupId, s);
        invoke(&ZS_MessageCallBack::onModifyGroup, key, reason,
               static_cast<const ZS_GroupChangeInfo *>(record.get()));
    };
    if (room.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND, changes);
        return;
    }
    if (changes.name.trimmed().isEmpty()) {
        answer(ZS_REASON_BAD_REQUEST, changes);
        return;
    }
    // The stored settings first: what the change record does not hold stays.
    d->readInfo(room, [this, room, changes, answer](int reason) {
        if (reason != ZS_REASON_SUCCESS) {
            answer(reason, changes);
            return;
        }
        Settings next = changes;
        const Settings before = d->rooms.value(room).settings;
        next.owner = before.owner;
        next.created = before.created;
        next.isDismiss = before.isDismiss;
        d->configure(room, next, [this, room, next, answer](int configured) {
            if (configured == ZS_REASON_SUCCESS)
                d->renameBookmark(room, next.name);
            answer(configured, next);
        });
    });
}

void Groups::search(unsigned int key, int searchType, const QString &keyword, int pageNo,
                    int pageSize, bool paging)
{
    const auto answer = [key, searchType, keyword, pageNo,
                         paging](int reason, const std::vector<ZS_GroupSearchInfo> &list) {
        const QByteArray word = keyword.toUtf8();
        const auto *records = list.empty() ? nullptr : list.data();
        if (paging)
            invoke(&ZS_MessageCallBack::onSearchPublicGroupPaging, key, reason, searchType,
                   word.constData(), int(list.size()), records, pageNo);
        else
            invoke(&ZS_MessageCallBack::onSearchPublicGroup, key, reason, searchType,
                   word.constData(), int(list.size()), records);
    };
    QXmppElement query = element(QStringLiteral("query"),
                                 QStringLiteral("http://jabber.org/protocol/disco#items"));
    d->sendIq(
        QXmppIq::Get, service(), query,
        [this, searchType, keyword, pageNo, pageSize, answer](int reason, const QDomElement &iq) {
            std::vector<ZS_GroupSearchInfo> found;
            const QDomElement items = iq.firstChildElement(QStringLiteral("query"));
            for (QDomElement i = items.firstChildElement(QStringLiteral("item"));
                 !i.isNull() && found.size() < std::size_t(kGroupsMax);
                 i = i.nextSiblingElement(QStringLiteral("item"))) {
                const QString room = bareOf(i.attribute(QStringLiteral("jid")));
                const QString id = groupIdOf(room);
                const QString name = i.attribute(QStringLiteral("name"));
                const bool match = searchType == 1
                    ? id == keyword.trimmed().toLower()
                    : name.contains(keyword.trimmed(), Qt::CaseInsensitive);
                if (id.isEmpty() || !match)
                    continue;
                ZS_GroupSearchInfo r{};
                put(r.groupId, id);
                put(r.name, name);
                r.searchFlag = d->isBookmarked(room) ? 1 : 0;
                found.push_back(r);
            }
            const std::size_t size = pageSize > 0 ? std::size_t(pageSize) : found.size();
            const std::size_t first = std::size_t(std::max(1, pageNo) - 1) * size;
            std::vector<ZS_GroupSearchInfo> page;
            for (std::size_t k = first; k < found.size() && k < first + size; ++k)
                page.push_back(found[k]);
            answer(reason, page);
        });
}

bool Groups::notifies(const QString &groupId) const
{
    return d->rules.value(roomJid(groupId), true);
}

void Groups::setRule(unsigned int key, const QString &groupId, bool notice)
{
    const QString room = roomJid(groupId);
    const auto answer = [key, groupId, notice](int reason) {
        const QByteArray id = groupId.toUtf8();
        invoke(&ZS_MessageCallBack::onSetGroupMessageRule, key, reason, id.constData(),
               ZS_Bool8(notice ? 1 : 0));
    };
    d->whenBookmarks([this, room, notice, answer] {
        if (room.isEmpty() || !d->isBookmarked(room)) {
            answer(ZS_REASON_NOT_FOUND);
            return;
        }
        d->rules.insert(room, notice);
        d->storeRules(answer);
    });
}

void Groups::detail(unsigned int key, const QString &groupId)
{
    const QString room = roomJid(groupId);
    const auto fail = [key, groupId](int reason) {
        const auto record = detailOf(groupId, Settings(), QString(), 0, true);
        invoke(&ZS_MessageCallBack::onQueryGroupDetail, key, reason,
               static_cast<const ZS_GroupDetailInfo *>(record.get()));
    };
    if (room.isEmpty()) {
        fail(ZS_REASON_NOT_FOUND);
        return;
    }
    d->readInfo(room, [this, key, room, groupId, fail](int reason) {
        if (reason != ZS_REASON_SUCCESS) {
            fail(reason);
            return;
        }
        d->fetchMembers(
            room, [this, key, room, groupId](int, QList<std::pair<QString, QString>> list) {
                const Settings s = d->rooms.value(room).settings;
                const auto record = detailOf(
                    groupId, s, s.owner.isEmpty() ? QString() : session().nameOf(s.owner),
                    list.size(), true);
                invoke(&ZS_MessageCallBack::onQueryGroupDetail, key, int(ZS_REASON_SUCCESS),
                       static_cast<const ZS_GroupDetailInfo *>(record.get()));
            });
    });
}

void Groups::members(unsigned int key, const QString &groupId, const QString &border, int pageSize)
{
    const QString room = roomJid(groupId);
    const auto answer = [key, groupId](int reason, const std::vector<ZS_GroupMemberInfo> &list) {
        const QByteArray id = groupId.toUtf8();
        invoke(&ZS_MessageCallBack::onQueryGroupMember, key, reason, id.constData(),
               int(list.size()),
               static_cast<const ZS_GroupMemberInfo *>(list.empty() ? nullptr : list.data()));
    };
    if (room.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND, {});
        return;
    }
    d->fetchMembers(room,
                    [this, room, border, pageSize,
                     answer](int reason, QList<std::pair<QString, QString>> list) {
                        std::vector<ZS_GroupMemberInfo> records;
                        const QString borderJid = border.trimmed().isEmpty()
                            ? QString()
                            : session().jidOf(border.trimmed());
                        bool after = borderJid.isEmpty();
                        const auto it = d->rooms.constFind(room);
                        for (const auto &entry : qAsConst(list)) {
                            if (!after) {
                                after = entry.first == borderJid;
                                continue;
                            }
                            if (pageSize > 0 && int(records.size()) >= pageSize)
                                break;
                            ZS_GroupMemberInfo r{};
                            put(r.member, session().nameOf(entry.first));
                            put(r.memberText, session().nameOf(entry.first));
                            r.memberValue1 = roleOf(entry.second);
                            if (it != d->rooms.constEnd())
                                for (const State::Occupant &o : it->occupants)
                                    if (o.jid == entry.first && o.role == QLatin1String("visitor"))
                                        r.memberValue2 = 1;
                            records.push_back(r);
                        }
                        answer(reason, records);
                    });
}

void Groups::queryCard(unsigned int key, const QString &groupId, const QString &member)
{
    const QString room = roomJid(groupId);
    const QString jid = session().jidOf(member.trimmed());
    auto card = std::shared_ptr<ZS_GroupMemberCard>(makeRecord<ZS_GroupMemberCard>());
    put(card->cardText1, member.trimmed());
    put(card->cardText2, groupId);
    const auto answer = [key, card](int reason) {
        invoke(&ZS_MessageCallBack::onQueryGroupMemberCard, key, reason,
               static_cast<const ZS_GroupMemberCard *>(card.get()));
    };
    if (room.isEmpty() || jid.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    d->fetchMembers(
        room, [this, room, jid, card, answer](int reason, QList<std::pair<QString, QString>> list) {
            const auto it = std::find_if(list.cbegin(), list.cend(),
                                         [&](const auto &entry) { return entry.first == jid; });
            if (reason != ZS_REASON_SUCCESS || it == list.cend()) {
                answer(reason != ZS_REASON_SUCCESS ? reason : int(ZS_REASON_NOT_FOUND));
                return;
            }
            card->cardValue1 = roleOf(it->second);
            card->cardValue2 = d->mutedIn(room, jid) ? 1 : 0;
            d->readVCard(jid == session().ownJid() ? QString() : jid,
                         [room, card, answer](int read, const QDomElement &vcard) {
                             // No vCard yet: an empty card.
                             if (read != ZS_REASON_SUCCESS && read != ZS_REASON_NOT_FOUND) {
                                 answer(read);
                                 return;
                             }
                             const QDomElement mine = State::cardIn(vcard, room);
                             if (!mine.isNull())
                                 State::fillCard(*card, mine);
                             answer(ZS_REASON_SUCCESS);
                         });
        });
}

void Groups::modifyCard(unsigned int key, const ZS_GroupMemberCard &card)
{
    auto answerCard = std::shared_ptr<ZS_GroupMemberCard>(makeRecord<ZS_GroupMemberCard>());
    *answerCard = card;
    const auto answer = [key, answerCard](int reason) {
        invoke(&ZS_MessageCallBack::onModifyGroupMemberCard, key, reason,
               static_cast<const ZS_GroupMemberCard *>(answerCard.get()));
    };
    const QString groupId = fieldText(card.cardText2);
    const QString room = roomJid(groupId);
    const QString jid = session().jidOf(fieldText(card.cardText1).trimmed());
    if (room.isEmpty() || !d->rooms.contains(room) || jid.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    // The card lives in the member's own vCard: nobody else may write it.
    if (jid != session().ownJid()) {
        answer(ZS_REASON_FORBIDDEN);
        return;
    }
    d->readVCard(
        QString(), [this, room, card, answerCard, answer](int read, const QDomElement &stored) {
            if (read != ZS_REASON_SUCCESS && read != ZS_REASON_NOT_FOUND) {
                answer(read); // never overwrite what was not read
                return;
            }
            d->sendIq(QXmppIq::Set, QString(), State::withCard(stored, room, card),
                      [this, room, answerCard, answer](int reason, const QDomElement &) {
                          if (reason != ZS_REASON_SUCCESS) {
                              answer(reason);
                              return;
                          }
                          const State::Room r = d->rooms.value(room);
                          const QString own = session().ownJid();
                          for (const State::Occupant &o : r.occupants)
                              if (o.jid == own)
                                  answerCard->cardValue1 = roleOf(o.affiliation);
                          answerCard->cardValue2 = d->mutedIn(room, own) ? 1 : 0;
                          answer(ZS_REASON_SUCCESS);
                          // The members in the room hear of it at once, and read it when they want.
                          QXmppMessage m;
                          m.setTo(room);
                          m.setType(QXmppMessage::GroupChat);
                          m.setExtensions({element(QStringLiteral("card-changed"), nsGroup)});
                          if (d->connected())
                              d->client->sendPacket(m);
                      });
        });
}

void Groups::removeMember(unsigned int key, const QString &groupId, const QString &member)
{
    const QString room = roomJid(groupId);
    const auto answer = [key, groupId, member](int reason) {
        const QByteArray id = groupId.toUtf8();
        const QByteArray m = member.toUtf8();
        invoke(&ZS_MessageCallBack::onDeleteGroupMember, key, reason, id.constData(),
               m.constData());
    };
    const QString jid = session().jidOf(member.trimmed());
    if (room.isEmpty() || jid.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    // Without the membership the server removes the occupant too (status 321).
    d->setAffiliation(room, jid, QStringLiteral("none"), answer);
}

void Groups::forbid(unsigned int key, const QString &groupId, const QString &member, int isBan)
{
    const QString room = roomJid(groupId);
    const QString jid = session().jidOf(member.trimmed());
    const auto answer = [key, groupId, member, isBan](int reason) {
        answerTwoTexts(&ZS_MessageCallBack::onForbidMemberSpeakGroup, key, reason, groupId, member,
                       isBan);
    };
    const auto it = d->rooms.constFind(room);
    QString nick;
    if (it != d->rooms.constEnd())
        for (auto o = it->occupants.constBegin(); o != it->occupants.constEnd(); ++o)
            if (o->jid == jid)
                nick = o.key();
    // Voice belongs to a presence in the room: who is not there cannot be muted.
    if (room.isEmpty() || nick.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    QXmppElement item = element(QStringLiteral("item"));
    item.setAttribute(QStringLiteral("nick"), nick);
    item.setAttribute(QStringLiteral("role"),
                      isBan ? QStringLiteral("visitor") : QStringLiteral("participant"));
    QXmppElement query = element(QStringLiteral("query"), nsMucAdmin);
    query.appendChild(item);
    d->sendIq(QXmppIq::Set, room, query,
              [answer](int reason, const QDomElement &) { answer(reason); });
}

void Groups::setRole(unsigned int key, const QString &groupId, const QString &member, int role)
{
    const QString room = roomJid(groupId);
    const QString jid = session().jidOf(member.trimmed());
    const auto answer = [key](int reason) {
        invoke(&ZS_MessageCallBack::onSetGroupMemberRole, key, reason);
    };
    if (room.isEmpty() || jid.isEmpty()) {
        answer(ZS_REASON_NOT_FOUND);
        return;
    }
    if (role < Ordinary || role > Owner) {
        answer(ZS_REASON_BAD_REQUEST);
        return;
    }
    static const char *const affiliations[] = {"member", "admin", "owner"};
    d->setAffiliation(room, jid, QString::fromLatin1(affiliations[role]), answer);
}

void Groups::attach(QXmppClient *client)
{
    d->client = client;
    d->hook = new StanzaHook<Groups>(this);
    // First of all extensions: invitations carry a body the messages side would show.
    client->insertExtension(0, d->hook);
}

void Groups::online(bool resumed)
{
    if (resumed)
        return; // the stream was kept, and the rooms with it
    ++d->stream;
    d->failIqs(ReasonUnreachable);
    d->archiveQueries.clear();
    d->catchingUp.clear();
    d->holding = true;
    d->reentering = true;
    session().messages().holdOfflineBatch();
    for (auto it = d->rooms.begin(); it != d->rooms.end(); ++it) {
        it->joined = false;
        it->occupants.clear();
    }
    d->bookmarksLoaded = false;
    d->bookmarksRead = false;
    d->loadBookmarks();
}

void Groups::leaving()
{
    if (d->marksDirty)
        d->storeMarks();
}

void Groups::noteArchived(const QString &roomJid, const QDomElement &stanza)
{
    d->noteArchived(bareOf(roomJid), stanza);
}

void Groups::offline()
{
    d->holding = false; // the messages side ends its batch itself
    d->reentering = true;
    // Collected first: an answer may forget its room.
    std::vector<std::function<void(int)>> waiting;
    for (auto it = d->rooms.begin(); it != d->rooms.end(); ++it) {
        it->joining = false;
        it->joined = false; // the room has let the user go with the stream
        for (auto &done : it->whenJoined)
            waiting.push_back(std::move(done));
        it->whenJoined.clear();
    }
    for (auto &done : waiting)
        done(ReasonUnreachable);
}

void Groups::detach()
{
    if (d->hook)
        d->hook->owner = nullptr;
    d->hook = nullptr;
    d->client = nullptr;
    d->failIqs(ReasonUnreachable);
    d->rooms.clear();
    d->bookmarks.clear();
    d->otherBookmarks.clear();
    d->bookmarksLoaded = false;
    d->bookmarksRead = false;
    d->rules.clear();
    d->rulesRead = false;
    d->marks.clear();
    d->marksRead = false;
    d->marksDirty = false;
    d->marksTimer.stop();
    d->archiveQueries.clear();
    d->catchingUp.clear();
    d->holding = false;
    d->reentering = false;
    auto waiting = std::exchange(d->whenLoaded, {});
    d->invitations.clear();
    d->requested.clear();
    for (auto &fn : waiting)
        fn(); // answers from an empty list
}

bool Groups::handleStanza(const QDomElement &element)
{
    if (element.tagName() == QLatin1String("iq"))
        return d->handleIq(element);
    if (element.tagName() == QLatin1String("presence"))
        return d->handlePresence(element);
    if (element.tagName() == QLatin1String("message"))
        return d->handleMessage(element);
    return false;
}

} // namespace zsxmpp
