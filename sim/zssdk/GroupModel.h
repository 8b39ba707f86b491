#pragma once

// The stand-in engine's model of groups: the groups with their members, roles, mute flags and
// cards, the join requests and invitations waiting for an answer, how the simulated people
// answer, and every notice the server pushed to whom. Tests read and change it under the
// engine's lock through zssim::Control::withServer.

#include <ZSsdk.h>

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

struct GroupModel
{
    // Roles in SetGroupMemberRole, member records (memberValue1) and cards (cardValue1).
    enum Role { Ordinary = 0, Admin = 1, Owner = 2 };
    // How a simulated person answers an invitation, or a simulated owner a join request.
    enum Answer { Accept, Decline, NoAnswer };
    // Scope of a group: only public groups are found by a search.
    enum Scope { Private = 0, Public = 1 };
    // searchType: by name (a part of it, any case), or by id (exactly).
    enum SearchType { ByName = 0, ById = 1 };

    struct Member
    {
        QString account;
        int role = Ordinary;
        bool muted = false;
        bool messageRule = true; // SetGroupMessageRule's notice
        // The card texts a member may change (cardText3..6) and cardValue3.
        QString nickname;
        QString phone;
        QString title;
        QString remark;
        int cardValue3 = 0;
    };

    struct Group
    {
        QString id; // begins with "g": a group session
        QString name;
        int type = 0;
        QString province;
        QString city;
        int scope = Private;
        QString declared;
        int permission = 0;
        int isDismiss = 0;
        QString domain;
        bool isDiscuss = false;
        QString created; // "yyyy-MM-dd hh:mm:ss"
        QList<Member> members; // the owner first, then in the order they joined

        Member *member(const QString &account)
        {
            for (Member &m : members)
                if (m.account == account)
                    return &m;
            return nullptr;
        }
        const Member *member(const QString &account) const
        {
            return const_cast<Group *>(this)->member(account);
        }
        QString owner() const
        {
            for (const Member &m : members)
                if (m.role == Owner)
                    return m.account;
            return QString();
        }
        QStringList accounts() const
        {
            QStringList list;
            for (const Member &m : members)
                list << m.account;
            return list;
        }
    };

    // A request to join or an invitation waiting for its answer.
    struct Pending
    {
        QString groupId;
        QString account; // who asks to join, or who is invited
        QString invitor; // invitations only
        QString declared;
    };

    // One notice as the server pushed it.
    struct Pushed
    {
        int type = 0;
        QString groupId;
        QString sender;
        QString member;
    };

    QList<Group> groups; // in the order made; dismissed groups are gone
    QList<Pending> joinRequests;
    QList<Pending> invitations;
    // Simulated people not listed answer with `otherAnswer`.
    QMap<QString, Answer> answers{{QStringLiteral("bob"), Accept},
                                  {QStringLiteral("carol"), Accept}};
    Answer otherAnswer = Accept;
    // Every notice pushed, by who received it (the user's and the simulated people's).
    QMap<QString, QList<Pushed>> pushed;
    int nextGroup = 1;

    Group *find(const QString &id)
    {
        for (Group &g : groups)
            if (g.id == id)
                return &g;
        return nullptr;
    }

    // A public group of bob's that carol is in, for search and join.
    static Group designClub()
    {
        Group g;
        g.id = QStringLiteral("group-900");
        g.name = QStringLiteral("Design Club");
        g.scope = Public;
        g.declared = QStringLiteral("Anyone who likes design");
        g.created = QStringLiteral("2024-01-02 09:00:00");
        Member bob;
        bob.account = QStringLiteral("bob");
        bob.role = Owner;
        Member carol;
        carol.account = QStringLiteral("carol");
        g.members = {bob, carol};
        return g;
    }
    GroupModel() { groups.append(designClub()); }
};

namespace zssim {

// Another person acts in a group, as the server would report it to the user. Each returns
// false when the group or the person's place in it does not allow the action.
// `from` asks to join a group the user owns or administers: a type-0 notice to the user,
// answered with ReplyRequestJoinGroup.
ZSSDK_API bool injectJoinRequest(const QString &groupId, const QString &from,
                                 const QString &declared = QString());
// `invitor`, a member, invites the user: a type-1 notice, answered with ReplyInviteJoinGroup.
ZSSDK_API bool injectGroupInvitation(const QString &groupId, const QString &invitor);
// A member leaves (type 4 to the others).
ZSSDK_API bool injectMemberQuit(const QString &groupId, const QString &member);
// The owner or an admin removes a member (type 5 to the members, the removed one included).
ZSSDK_API bool injectMemberRemoved(const QString &groupId, const QString &by,
                                   const QString &member);
// The owner dismisses the group (type 3 to the members).
ZSSDK_API bool injectGroupDismissed(const QString &groupId);

} // namespace zssim
