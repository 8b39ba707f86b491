#pragma once

// Groups over multi-user chat (XEP-0045): each group is a persistent, members-only room.
//
// Ids: a room of the own server's MUC service (conference.<domain>) is named by its node,
// "g" and 10 hex digits; a room elsewhere by its bare room JID, which must also begin with "g",
// or, when that is longer than a record's group id (33 bytes), by "g" and the first 20 hex
// digits of the JID's SHA-1, which names the room once this process knows it (bookmarks,
// invitations, rooms entered).
//
// The room's name is the group's name; its desc field (roomdesc) is a JSON object that keeps
// what has no standard field of the room configuration:
//   {"declared":"..","type":0,"province":"..","city":"..","scope":0,"permission":0,
//    "isDismiss":0,"domain":"..","discuss":false,"owner":"alice@localhost",
//    "created":"yyyy-MM-dd hh:mm:ss"}
// A desc that is not such an object (a room made by another client) is the declared text.
// scope 1 makes the room public (listed by the service); every room lets its members
// invite and shows the members' JIDs to the members. Nicknames are bare JIDs.
//
// The user's groups are the conference bookmarks of private storage (XEP-0048 in XEP-0049,
// autojoin): they survive logins and every room of them is entered when a new stream comes up,
// so the server's presences give the notices. A room found gone, or no longer the user's, then
// leaves the list.
//
// Rooms are entered without history. The last message seen of each room (its archive id) is
// kept in private storage,
//   <group-marks xmlns='urn:tq:group:0'><room jid='..' last='..'/></group-marks>
// and at each new stream the room's archive (XEP-0313) gives what came after it, delivered with
// the offline messages.
//
// Member cards are the members' own, in their vCards (XEP-0054):
//   <group-cards xmlns='urn:tq:group:0'><card room='..' value='0'><nick/><phone/><title/>
//   <remark/></card></group-cards>
// and a change is told to the room by a groupchat message without body,
//   <card-changed xmlns='urn:tq:group:0'/>.
//
// The message rules (SetGroupMessageRule) are the user's own, in private storage:
//   <group-rules xmlns='urn:tq:group:0'><group room='..' notice='0'/></group-rules>
//
// Requests to join (JoinGroup) and their answers travel as messages with
//   <join-request xmlns='urn:tq:group:0' room='..'><reason>..</reason></join-request>
//   <join-reply xmlns='urn:tq:group:0' room='..' confirm='1'/>
// between the requester and the owner named in the desc.

#include "XmppFeature.h"

#include "ZSsdk.h"

#include <QString>
#include <QStringList>

#include <memory>

class QDomElement;

namespace zsxmpp {

class Groups : public Feature
{
public:
    explicit Groups(Session &session);
    ~Groups() override;

    // For the messages side: the room of a group id (empty when the id is not a group's), the
    // group id of a room JID (empty when it is not one), whether the user is in the room now,
    // and whether the user may speak there (in it, and not a visitor).
    QString roomJid(const QString &groupId) const;
    QString groupIdOf(const QString &roomJid) const;
    bool isJoined(const QString &groupId) const;
    bool maySpeak(const QString &groupId) const;
    // Whether the user may be about to be in the room (a new stream enters every group: until
    // then any room, after that one being entered).
    bool awaitsEntry(const QString &roomJid) const;
    // The user's message rule for the group (SetGroupMessageRule): notify of its messages.
    bool notifies(const QString &groupId) const;
    // A message the room passed on live: its archive id becomes the room's mark, from which
    // the next login reads what the user missed.
    void noteArchived(const QString &roomJid, const QDomElement &stanza);
    // The own server's MUC service.
    QString service() const;
    // Whether a caller's receiver names a group (an id this engine makes, or a room JID), and
    // whether a JID is a room of a group.
    bool isGroupId(const QString &receiver) const;
    bool isRoom(const QString &jid) const;
    // The bare JID behind a nickname in a room the user is in; empty when the room hides it.
    QString memberJid(const QString &roomJid, const QString &nick) const;
    // The user's own nickname in that room.
    QString ownNick(const QString &roomJid) const;

    // A group's settings, as CreateGroup and ModifyGroup give them.
    struct Settings
    {
        QString name;
        QString declared;
        int type = 0;
        QString province;
        QString city;
        int scope = 0;
        int permission = 0;
        int isDismiss = 0;
        QString domain;
        bool discuss = false;
        QString owner; // bare JID
        QString created;
    };
    // The desc's JSON (above), and back.
    static QString settingsText(const Settings &settings);
    static Settings settingsOf(const QString &desc);

    // The requests of api_group.cpp, on the engine's thread; each answers exactly once.
    void create(unsigned int key, Settings settings);
    void dismiss(unsigned int key, const QString &groupId);
    void quit(unsigned int key, const QString &groupId);
    void join(unsigned int key, const QString &groupId, const QString &declared);
    void replyRequest(unsigned int key, const QString &groupId, const QString &member, int confirm);
    void invite(unsigned int key, const QString &groupId, const QString &declared,
                const QStringList &members, int confirm);
    void replyInvite(unsigned int key, const QString &groupId, const QString &invitor, int confirm);
    void queryOwn(unsigned int key, const QString &border, int pageSize);
    // Changes the room's name and settings; owner and creation date stay.
    void modify(unsigned int key, const QString &groupId, Settings changes);
    // The public rooms of the own service whose name holds the keyword (searchType 0) or
    // whose id is the keyword (1); pageNo from 1, pageSize 0 or less: all on page 1. The
    // paging form answers onSearchPublicGroupPaging, the other onSearchPublicGroup.
    void search(unsigned int key, int searchType, const QString &keyword, int pageNo, int pageSize,
                bool paging);
    void detail(unsigned int key, const QString &groupId);
    void members(unsigned int key, const QString &groupId, const QString &border, int pageSize);
    void removeMember(unsigned int key, const QString &groupId, const QString &member);
    // Member cards: each member's own, in their vCard (readable by everyone, written by them
    // only); role and mute come from the room.
    void queryCard(unsigned int key, const QString &groupId, const QString &member);
    void modifyCard(unsigned int key, const ZS_GroupMemberCard &card);
    void forbid(unsigned int key, const QString &groupId, const QString &member, int isBan);
    void setRule(unsigned int key, const QString &groupId, bool notice);
    void setRole(unsigned int key, const QString &groupId, const QString &member, int role);

    void attach(QXmppClient *client) override;
    void online(bool resumed) override;
    void leaving() override;
    void offline() override;
    void detach() override;

    // Stanzas the client hands to its extensions; true when taken.
    bool handleStanza(const QDomElement &element);

    struct State;

private:
    std::unique_ptr<State> d;
};

} // namespace zsxmpp
