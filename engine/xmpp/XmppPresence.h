#pragma once

// Presence and profiles over XMPP: the own presence, the roster's presence pushed to the
// caller, other users' states, and the own and others' profiles (vCard-temp, XEP-0054).
//
// The own presence carries, besides a standard <show/> and <status/> for other clients:
//   <tq xmlns='urn:tq:presence:0' type='3' subtype='1' profile='..'>base64 of user data</tq>
// The user data is bytes of the publisher's code page, so it travels as base64; profile is
// the version of the publisher's profile once set in this session, so that contacts fetch it
// again.
//
// A profile is a vCard: FN (text1), TEL/NUMBER (text2), DESC (text3), and
//   <tq xmlns='urn:tq:vcard:0' number1='..' number2='..' number3='..' version='..'/>
// which the server keeps because it stores vCards as given (mod_vcard).

#include "XmppFeature.h"

#include "ZSsdk.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QDomElement;
class QXmppElement;
class QXmppPresence;

namespace zsxmpp {

class IqRequests;

class Presence : public Feature
{
public:
    explicit Presence(Session &session);
    ~Presence() override;

    void attach(QXmppClient *client) override;
    void online(bool resumed) override;
    void offline() override;
    void detach() override;

    // The presence to open a stream with: the last one published since login, else a plain
    // available presence.
    QXmppPresence current() const;

    // The requests of the C functions; each answers exactly once.
    void publish(unsigned int key, int type, int subtype, const QByteArray &note);
    void userStates(unsigned int key, const QStringList &names, bool valid);
    void setInfo(unsigned int key, const ZS_PersonInfo &info);
    void getInfo(unsigned int key, const QString &name);

    // What the caller publishes and reads, in the engine's terms.
    struct State
    {
        int type = 0;
        int subtype = 0;
        QByteArray note;
        unsigned long long profile = 0; // not part of what the caller sees, nor of ==
        bool operator==(const State &o) const
        {
            return type == o.type && subtype == o.subtype && note == o.note;
        }
        bool operator!=(const State &o) const { return !(*this == o); }
    };
    struct Profile
    {
        QString name;
        QString number;
        QString text;
        int numbers[3] = {0, 0, 0};
        unsigned long long version = 0;
    };

    // The wire forms above; public for the tests of their parsing.
    static QXmppPresence toPresence(const State &state);
    // The presence with this client's entity capabilities (XEP-0115), which QXmpp adds to the
    // initial presence only.
    QXmppPresence withCaps(QXmppPresence presence) const;
    static State fromPresence(const QXmppPresence &presence);
    static Profile fromVCard(const QDomElement &vcard);
    // The vCard to store: the profile's fields, and whatever else `stored` holds.
    static QXmppElement toVCard(const Profile &profile, const QDomElement &stored);

private:
    struct Seen
    {
        State state;
        quint64 order = 0;
    };

    void onPresence(const QXmppPresence &presence);
    void onRoster();
    State stateOf(const QString &jid) const;
    void fillState(ZS_PersonState &record, const QString &name, const QString &jid) const;
    void push(const QStringList &jids);
    void fetchNextProfile();
    void storeProfile(const QString &jid, const Profile &profile);
    // The second half of setInfo: the stored vCard has been read (or found missing).
    void writeProfile(unsigned int key, Profile profile, int readReason, const QDomElement &iq);
    // Tells the contacts, through the presence, that the own profile has a new version.
    void announceProfile(unsigned long long version);

    QXmppClient *m_client = nullptr;
    IqRequests *m_iq = nullptr;

    State m_own;
    bool m_published = false; // m_own was published since login
    bool m_unsent = false; // published while the connection was down

    QHash<QString, QHash<QString, Seen>> m_seen; // bare JID -> resource -> presence
    quint64 m_order = 0;
    QSet<QString> m_roster;
    bool m_rosterReady = false;
    QHash<QString, Profile> m_profiles;
    QStringList m_profileQueue;
    bool m_fetching = false;
    unsigned long long m_lastVersion = 0;
};

} // namespace zsxmpp
