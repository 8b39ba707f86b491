#include "SDK_Agent.h"

#include "SDK_CallBackProxy.h"
#include "SessionConvert.h"

#include <AgentFrame.h>
#include <AgentLog.h>
#include <AgentShutdown.h>
#include <EngineArgs.h>
#include <Voip_Agent.h>

#include <AppEnvionmentSetting.h>
#include <TQFilePathMgr.h>

#include <QDateTime>
#include <QDebug>

#define WHERE TQ_WHERE(SDK_Agent)

QAtomicPointer<SDK_Agent> SDK_Agent::ins;

namespace {
// The engine's trace path: "\" separators on Windows; elsewhere "\" is a file-name character,
// so the path keeps its native separators.
QString enginePath(QString path)
{
#ifdef Q_OS_WIN
    path.replace(QStringLiteral("/"), QStringLiteral("\\"));
#endif
    return path;
}
} // namespace

SDK_Agent *SDK_Agent::instance()
{
    return tq::agentInstance(
        ins,
        [] {
            std::unique_ptr<SDK_Agent> agent(new SDK_Agent);
            agent->initConnections();
            return agent;
        },
        tq::Placement::CreatingThread); // joins the worker at the end of initSDK()
}

SDK_Agent::SDK_Agent() = default;

SDK_Agent::~SDK_Agent()
{
    // No callback may find this agent half gone: they stop before the engine does.
    tq::closeCallbacks();
    ZSSDK_UnInitialize();
    ins.testAndSetOrdered(this, nullptr);
}

void SDK_Agent::initConnections()
{
    tq::registerRecords<Agent_LoginRequest, Agent_PersonInfo, Agent_ConnectState,
                        Agent_PersonState>();
    connect(this, SIGNAL(sig_setServerEnvType(QString, int)), this,
            SLOT(slot_setServerEnvType(QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setInternalDNS(bool, QString, int)), this,
            SLOT(slot_setInternalDNS(bool, QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_login(Agent_LoginRequest)), this, SLOT(slot_login(Agent_LoginRequest)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_logout()), this, SLOT(slot_logout()), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getUserState(QList<QString>)), this,
            SLOT(slot_getUserState(QList<QString>)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_publishPresenceTQ(int, int, QString)), this,
            SLOT(slot_publishPresenceTQ(int, int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setPersonInfo(Agent_PersonInfo)), this,
            SLOT(slot_setPersonInfo(Agent_PersonInfo)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getPersonInfo(QString)), this, SLOT(slot_getPersonInfo(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_InitAgent()), this, SLOT(slot_initAgent()), Qt::AutoConnection);
    connect(this, SIGNAL(sig_uninitSDK()), this, SLOT(slot_uninitSDK()), Qt::AutoConnection);
}

void SDK_Agent::initSDK()
{
    const QString dir = TQFilePathMgr::instance()->getLocalSdkLogPath();
    const QString name
        = QStringLiteral("SdkLog_%1.txt")
              .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss")));
    QString path = dir + name;
    qDebug().noquote() << QStringLiteral("Before_Log_Path = ") + path;
    path = enginePath(path);
    qDebug().noquote() << QStringLiteral("After_Log_Path = ") + path;

    const AppEnvionmentConfig *config = AppEnvionmentSetting::instance()->getAppEnvionmentConfig();
    setTraceFlag(config ? config->sdkTraceLevel() : 0, path);
    const int ret = initializeSDK();
    qDebug().noquote() << QStringLiteral("__________initializeSDK__________");

    Voip_Agent *voip = Voip_Agent::instance();
    emit voip->sig_setCodecEnabled(10, false);
    emit voip->sig_setCodecRed(1);
    emit voip->sig_setCodecNack(false, false);

    if (ret != 0)
        tq::logError("initializeSDK error,ret:%1", ret);

    // Only the owning thread can hand the agent over; after the first initSDK() it is there.
    if (thread() == QThread::currentThread())
        tq::moveToSharedThread(this);
}

int SDK_Agent::initializeSDK()
{
    tq::openCallbacks(); // shut by an earlier uninitialisation
    return ZSSDK_Initialize();
}

int SDK_Agent::unInitializeSDK()
{
    tq::closeCallbacks();
    return ZSSDK_UnInitialize();
}

void SDK_Agent::setTraceFlag(int level, QString path)
{
    SetTraceFlag(level, tq::Utf8Arg(path));
}

void SDK_Agent::slot_setServerEnvType(QString ServerXmlFileName, int nEnvType)
{
    tq::logInfo("%1", WHERE);
    SetServerEnvType(nEnvType, tq::Utf8Arg(ServerXmlFileName));
}

void SDK_Agent::slot_setInternalDNS(bool enable, QString dns, int port)
{
    tq::logInfo("%1", WHERE);
    SetInternalDNS(enable ? 1 : 0, tq::Utf8Arg(dns), port, 0);
}

void SDK_Agent::slot_login(Agent_LoginRequest request)
{
    tq::logInfo("%1", WHERE); // never the texts: they hold the password
    SDK_CallBackProxy::instance()->registerCallbacks();
    // Buffers live for the call only: the engine copies what it keeps.
    session::LoginRecord record;
    session::toEngine(request, record);
    Login(&record.info);
}

void SDK_Agent::slot_logout()
{
    slot_publishPresenceTQ(2, 0, QString());
    tq::logInfo("%1", WHERE);
    Logout();
}

void SDK_Agent::slot_publishPresenceTQ(int type, int subtype, QString userdata)
{
    tq::logInfo("%1", TQ_WHERE(SDK_Agent));
    unsigned int matchKey = 0;
    PublishPresence_TQ(&matchKey, type, subtype, tq::Local8BitArg(userdata));
}

void SDK_Agent::slot_setPersonInfo(Agent_PersonInfo request)
{
    tq::logInfo("%1", WHERE);
    const ZS_PersonInfo record = session::toEngine(request);
    unsigned int matchKey = 0;
    SetPersonInfo(&matchKey, &record);
}

void SDK_Agent::slot_getPersonInfo(QString username)
{
    tq::logInfo("%1", WHERE);
    unsigned int matchKey = 0;
    GetPersonInfo(&matchKey, tq::Utf8Arg(username));
}

void SDK_Agent::slot_getUserState(QList<QString> listMember)
{
    tq::logInfo("%1", WHERE);
    if (listMember.isEmpty())
        return;
    const tq::StringArray names(listMember); // released after the call
    unsigned int matchKey = 0;
    GetUserState(&matchKey, names.constData(), names.count());
}

void SDK_Agent::slot_initAgent()
{
    initSDK();
    SetFetchMaxMsgsEveryTime(500);
}

void SDK_Agent::slot_uninitSDK()
{
    unInitializeSDK();
}
