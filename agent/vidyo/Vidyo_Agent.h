#pragma once

// Room-based video calls through the video-room client. Start, leave and stop run on the shared
// worker thread; the controls (microphone, speaker, camera, rectangle, sharing, dial, shown
// name) on the thread that first asked for the agent, through its driver Vidyo_Agent_Imp. The
// client's events come on the client's thread and are emitted from there.

#include "VidyoDataBase.h"
#include "tq_agent_global.h"

#include <QAtomicPointer>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

class Vidyo_Agent_Imp;

class TQ_AGENT_EXPORT Vidyo_Agent : public QObject
{
    Q_OBJECT
public:
    static Vidyo_Agent *instance();
    // The agent, or null while none exists; never builds one (for the client's events).
    static Vidyo_Agent *existing();
    ~Vidyo_Agent() override;

    Vidyo_Agent_Imp *driver() const { return m_imp; }

signals:
    // Requests.
    void signal_StartVidyo(VidyoDataBase *vidyoDataBase);
    void signal_StopVidyo(); // leaves the room
    void signal_LeaveMeettingStopVidyo(); // stops the client; the record is let go
    void signal_SetMuteAudioIn(bool state, bool isSendImMessage);
    void signal_SetMuteAudioOut(bool state);
    void signal_SetCamera(bool state);
    void signal_SetRect(QRect rect);
    void signal_StartShareScreent();
    void signal_StopShareScreent();
    void signal_DialPassword(QString text);
    void signal_ResetUserShowName(QString name, QString uri);

    // Results.
    void signal_onVidyoState(int type, bool state, QString vidyoMsg);
    void signal_StartVidyofaild();
    void signal_onSetMuteAudioOut(bool state);
    void signal_onSetMuteAudioIn(bool state, bool isSendImMessage);
    void signal_onSetCamera(bool state);
    void signal_onStartShareScreen();
    void signal_onStopShareScreen();
    void signal_currentAccountList(QStringList names, QStringList uris);
    void signal_onHangUp(int reason);
    void signal_LeaveMeettingSuccess();
    void signal_remoteSourceRemoved(QString text, int value);
    void signal_isDialPassword(bool isSuccess);

private slots:
    void slot_StartVidyo(VidyoDataBase *vidyoDataBase);
    void slot_LeaveMeeting();
    void slot_StopVidyo();

private:
    Vidyo_Agent();
    void initConnect();

    Vidyo_Agent_Imp *m_imp = nullptr;
    static QAtomicPointer<Vidyo_Agent> ins;
};
