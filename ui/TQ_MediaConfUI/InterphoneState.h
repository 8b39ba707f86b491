#pragma once

#include "MeetingMembers.h"
#include "tq_mediaconfui_export.h"

#include <MeetingRecords.h>

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

// The user's interphone, without widgets: its members, who holds the microphone, push to
// talk and the speak/listen settings. One member at a time holds the microphone. Fed by
// Meeting_Agent's results (the on* slots), it asks for engine work through its request signals,
// which TqMeetingAgentLink connects to the agent. One interphone at a time; another's
// interphone the user is made a member of is taken up when none is open. User-interface
// thread only.
class TQ_MEDIACONFUI_EXPORT TqInterphoneState : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Creating, Active, Ended };
    Q_ENUM(Phase)
    enum class Talk { Idle, Asking, Talking, Releasing };
    Q_ENUM(Talk)

    explicit TqInterphoneState(QObject *parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled, const QString &account = QString());
    QString ownAccount() const { return m_members->ownAccount(); }

    Phase phase() const { return m_phase; }
    bool isBusy() const { return m_phase == Phase::Creating || m_phase == Phase::Active; }
    QString interphoneId() const { return m_id; }
    QString owner() const { return m_owner; }
    bool isOwner() const { return !m_owner.isEmpty() && m_owner == ownAccount(); }
    TqMeetingMemberModel *members() const { return m_members; }
    // Who holds the microphone; empty when it is free.
    QString speaker() const { return m_speaker; }
    bool isTalking() const { return !m_speaker.isEmpty() && m_speaker == ownAccount(); }
    Talk talk() const { return m_talk; }
    // The user's own setting allows speaking.
    bool canSpeak() const;
    int endReason() const { return m_endReason; }

public slots:
    bool create(const QStringList &members);
    // Push to talk: asks for the microphone while held, gives it back once let go (also when
    // let go before the engine answered).
    bool pressTalk();
    void releaseTalk();
    bool setSpeakListen(const QString &member, int option);
    void exit();
    void clear();

    void onCreateInterphoneMeeting(int reason, const QString &interphoneId);
    void onControlInterphoneMic(int reason, const QString &controller, const QString &interphoneId,
                                bool requestIsControl);
    void onInterphoneMessage(const Agent_InterphoneMsg &msg);
    void onExitInterphoneMeeting(const QString &interphoneId);
    void onQueryMeetingMembers(int reason, const QString &conferenceId,
                               const QList<Agent_MeetingMemberInfo> &list);
    void onSetMeetingSpeakListen(int reason, const Agent_MeetingMemberSpeakListenInfo &info);

signals:
    void changed();
    void phaseChanged(TqInterphoneState::Phase phase);
    void failed(const QString &what);

    void createRequest(const QList<QString> &members);
    void micRequest(bool isControl, const QString &interphoneId);
    void exitRequest(const QString &interphoneId);
    void membersQuery(int meetingType, const QString &conferenceId);
    void speakListenRequest(int meetingType, const QString &meetingId, const QString &member,
                            bool isVoIP, int option);

private:
    void setPhase(Phase phase);
    void activate(const QString &id, const QString &owner);
    void setSpeaker(const QString &account);
    void reset();
    // Asks for or gives back the microphone so that it follows the button.
    void follow();

    bool m_enabled = false;
    Phase m_phase = Phase::Idle;
    QString m_id;
    QString m_owner;
    QString m_speaker;
    Talk m_talk = Talk::Idle;
    bool m_held = false; // the button is down
    bool m_refused = false; // asked while the microphone seemed free, and refused
    bool m_abandoned = false; // left before the create's answer named the interphone
    int m_endReason = 0;
    QStringList m_asked;
    QList<Agent_InterphoneMsg> m_early; // messages that overtook the create's answer
    QSet<QString> m_newer; // members with news since the member list was asked for
    TqMeetingMemberModel *m_members;
};
