#pragma once

#include "SessionRecords.h"

#include <tq_agent_global.h>

#include <QAtomicPointer>
#include <QList>
#include <QObject>
#include <QString>

// The engine's life and the user's session: trace file, initialisation, server environment,
// login and logout, presence, personal information and other users' states. Runs on the
// thread that created it until initSDK(), then on the shared worker thread. Results come
// from SDK_CallBackProxy.
class TQ_AGENT_EXPORT SDK_Agent : public QObject
{
    Q_OBJECT
public:
    static SDK_Agent *instance();
    ~SDK_Agent() override;

    void initSDK();

signals:
    void sig_setServerEnvType(QString ServerXmlFileName, int nEnvType);
    void sig_setInternalDNS(bool enable, QString dns, int port);
    void sig_login(Agent_LoginRequest request);
    void sig_logout();
    void sig_publishPresenceTQ(int type, int subtype, QString userdata);
    void sig_setPersonInfo(Agent_PersonInfo request);
    void sig_getPersonInfo(QString username);
    void sig_getUserState(QList<QString> listMember);
    void sig_InitAgent();
    void sig_uninitSDK();

    void sig_onConnectState(Agent_ConnectState state);
    void sig_onLogOut(int reason);
    void sig_onSetPersonInfo(int reason, qulonglong version);
    void sig_onGetPersonInfo(int reason, Agent_PersonInfo personInfo);
    void sig_onPublishPresence(int reason);
    void sig_onGetUserState(int reason, QList<Agent_PersonState> listUserState);
    void sig_onReceiveFriendsPublishPresence(QList<Agent_PersonState> listUserState);

private slots:
    void slot_setServerEnvType(QString ServerXmlFileName, int nEnvType);
    void slot_setInternalDNS(bool enable, QString dns, int port);
    void slot_login(Agent_LoginRequest request);
    void slot_logout();
    void slot_publishPresenceTQ(int type, int subtype, QString userdata);
    void slot_setPersonInfo(Agent_PersonInfo request);
    void slot_getPersonInfo(QString username);
    void slot_getUserState(QList<QString> listMember);
    void slot_initAgent();
    void slot_uninitSDK();

private:
    SDK_Agent();
    void initConnections();
    int initializeSDK();
    int unInitializeSDK();
    void setTraceFlag(int level, QString path);

    static QAtomicPointer<SDK_Agent> ins;
};
