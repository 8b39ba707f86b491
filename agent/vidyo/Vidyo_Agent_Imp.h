#pragma once

// The driver of Vidyo_Agent: talks to the video-room client. It stays on the thread that first
// asked for the agent, where its slots run; start, connect, leave and stop are called by the
// agent (worker thread) and by the client's events (client thread).

#include "tq_agent_global.h"

#include <QObject>
#include <QRect>
#include <QString>

class VidyoDataBase;

class TQ_AGENT_EXPORT Vidyo_Agent_Imp : public QObject
{
    Q_OBJECT
public:
    Vidyo_Agent_Imp();
    ~Vidyo_Agent_Imp() override;

    // Takes `record` as the running call's and initialises the client.
    void initVidyo(VidyoDataBase *record);
    void startVidyo();
    // Configuration, login and room link, once the client's logic has started.
    void CreatConnect();
    void leaveMeeting();
    // Stops the client and lets the running call's record go.
    void stopVidyo();

    // The user's directory, taken at construction; offered for the client's log.
    QString userDirectory() const { return m_userDirectory; }

public slots:
    void slot_SetMuteAudioIn(bool state, bool isSendImMessage);
    void slot_SetMuteAudioOut(bool state);
    void slot_SetCamera(bool state);
    void slot_SetRect(QRect rect);
    void slot_StartShareScreen();
    void slot_StopShareScreen();
    void slot_onDialPassword(QString text);
    void slot_onResetUserShowName(QString name, QString uri);

private:
    QString m_userDirectory;
};
