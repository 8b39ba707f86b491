// Voip_CallBackProxy: the call table, engine events turned into result signals (with records
// intact on the main thread), faulty records, and whole calls through the stand-in engine.

#include "VoipTestSupport.h"

#include <VoipConvert.h>

#include <TQLog.h>

#include <cstring>

namespace {

const QString kDashes = QLatin1Char('\n') + QString(50, QLatin1Char('-'));

ZS_CallEvent callEvent(int code, int type, const char *callid, const char *caller,
                       const char *callee)
{
    ZS_CallEvent event{};
    event.eCode = code;
    event.callType = type;
    std::strcpy(event.callid, callid);
    std::strcpy(event.caller, caller);
    std::strcpy(event.callee, callee);
    return event;
}

Agent_VoIPCallMsg callMsg(int code, int type, const QString &callid, const QString &caller,
                          const QString &callee)
{
    Agent_VoIPCallMsg msg;
    msg.eCode = code;
    msg.callType = type;
    msg.callid = callid;
    msg.caller = caller;
    msg.callee = callee;
    return msg;
}

template<std::size_t N> void fill(char (&field)[N], char c)
{
    std::memset(field, c, N); // no NUL anywhere
}

} // namespace

class TestVoipCallbacks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(startEngine());
        zssim::Control::clearJournal();
        Voip_Agent *agent = Voip_Agent::instance();
        QCOMPARE(Voip_Agent::instance(), agent);
        // The table is registered once, with the agent, and filled from one list.
        QCOMPARE(zssim::Control::callCount("SetVoIPCallBackFuction"), 1);
        const ZS_VoIPCallBack *table = zssim::Control::table<ZS_VoIPCallBack>();
        QVERIFY(table);
        QCOMPARE(table, Voip_CallBackProxy::instance()->table());
        const auto entries = reinterpret_cast<const ZS_Callback *>(table);
        for (int i = 0; i < 30; ++i)
            QVERIFY2((entries[i] != nullptr) == (i <= 6 || i == 21),
                     qPrintable(QString::number(i)));
        // Results cross threads from the first event on.
        for (const char *name : {"Agent_VoIPCallMsg", "Agent_VoIPComingInfo", "Agent_CallBackInfo"})
            QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);
    }

    void init() { QVERIFY(startEngine()); }

    void callEventLogBlockAndRecord()
    {
        Inbox<int, Agent_VoIPCallMsg> events(&Voip_Agent::sig_onCallEvents);
        TQLogCapture log;
        const ZS_CallEvent event = callEvent(5, 1, "abc", "1001", "1002");
        zssim::Control::fire(&ZS_VoIPCallBack::onCallEvents, 0, &event);
        QVERIFY(zssim::Control::waitIdle());

        QTRY_COMPARE(events.count(), 1);
        QCOMPARE(events.arg<0>(0), 0);
        QCOMPARE(events.arg<1>(0), callMsg(5, 1, "abc", "1001", "1002"));
        QCOMPARE(events.arg<1>(0).number1, 0);
        QCOMPARE(events.arg<1>(0).number2, 0);
        QCOMPARE(events.threads[0], QThread::currentThread());
        QCOMPARE(log.texts(),
                 QStringList({"Voip_CallBackProxy::callback_onCallEvents",
                              kDashes
                                  + "\n Reason : 0\n Call_eCode : 5\n CallType : 1"
                                    "\n Caller : 1001\n Callee : 1002\n Callid : abc"
                                  + kDashes}));
    }

    // A caller that names itself with a line break cannot write a log entry of its own: in
    // the file every entry still starts with a time stamp of this run, and the record reaches
    // the window as it came.
    void remoteTextsCannotForgeLogEntries()
    {
        Inbox<int, Agent_VoIPCallMsg> events(&Voip_Agent::sig_onCallEvents);
        const char *forged = "x\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED";
        const ZS_CallEvent event = callEvent(2, 1, "c\r\n", forged, "1002");
        zssim::Control::fire(&ZS_VoIPCallBack::onCallEvents, 0, &event);
        QVERIFY(zssim::Control::waitIdle());
        QTRY_COMPARE(events.count(), 1);
        QCOMPARE(events.arg<1>(0).caller, QString(forged));

        g_Log->flush();
        QFile file(g_Log->logFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains(" Caller : x\\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED\n"));
        QVERIFY(text.contains(" Callid : c\\r\\n\n"));
        QVERIFY(!text.contains("\n2000-01-01"));
        QVERIFY(!text.contains('\r'));
    }

    // Without a record: call events and call-back answers carry a default record; an
    // incoming call that names nobody is logged as an error and not announced.
    void nullRecordsFromEngine()
    {
        Inbox<int, Agent_VoIPCallMsg> events(&Voip_Agent::sig_onCallEvents);
        Inbox<int, Agent_CallBackInfo> callBacks(&Voip_Agent::sig_onMakeCallBack);
        Inbox<Agent_VoIPComingInfo> incoming(&Voip_Agent::sig_onCallIncoming);
        TQLogCapture log;
        const ZS_CallEvent *noEvent = nullptr;
        const ZS_CallBackInfo *noCallBack = nullptr;
        const ZS_IncomingCall *noIncoming = nullptr;
        zssim::Control::fire(&ZS_VoIPCallBack::onCallEvents, 486, noEvent);
        zssim::Control::fire(&ZS_VoIPCallBack::onMakeCallBack, 9u, 200, noCallBack);
        zssim::Control::fire(&ZS_VoIPCallBack::onCallIncoming, noIncoming);
        const QString callId = zssim::injectIncomingCall("1003", "Carol");
        QVERIFY(zssim::Control::waitIdle());

        QTRY_COMPARE(incoming.count(), 1); // the real call, after the empty one
        QCOMPARE(incoming.arg<0>(0).text1, callId);
        QCOMPARE(events.entries, (QList<std::tuple<int, Agent_VoIPCallMsg>>{{486, {}}}));
        QCOMPARE(callBacks.entries, (QList<std::tuple<int, Agent_CallBackInfo>>{{200, {}}}));
        QCOMPARE(log.texts(TQLog::Error),
                 QStringList{"Voip_CallBackProxy::callback_onCallIncoming,null record"});
        QCOMPARE(log.count(kDashes
                           + "\n Reason : 486\n Call_eCode : 0\n CallType : 0"
                             "\n Caller : \n Callee : \n Callid : "
                           + kDashes),
                 1);
    }

    // Fields filled to their width without a NUL are read up to the width, no further.
    void fieldsWithoutNul()
    {
        ZS_CallEvent event{};
        fill(event.callid, 'i');
        fill(event.caller, 'r');
        fill(event.callee, 'e');
        const Agent_VoIPCallMsg msg = tq::toCallMsg(&event);
        QCOMPARE(msg.callid, QString(65, 'i'));
        QCOMPARE(msg.caller, QString(65, 'r'));
        QCOMPARE(msg.callee, QString(65, 'e'));

        ZS_IncomingCall coming{};
        fill(coming.text1, 'a');
        fill(coming.text2, 'b');
        fill(coming.text3, 'c');
        fill(coming.text4, 'd');
        const Agent_VoIPComingInfo info = tq::toComingInfo(coming);
        QCOMPARE(info.text1, QString(65, 'a'));
        QCOMPARE(info.text2, QString(65, 'b'));
        QCOMPARE(info.text3, QString(129, 'c'));
        QCOMPARE(info.text4, QString(129, 'd'));

        ZS_CallBackInfo callBack{};
        fill(callBack.text1, 'a');
        fill(callBack.text2, 'b');
        fill(callBack.text3, 'c');
        fill(callBack.text4, 'd');
        const Agent_CallBackInfo answer = tq::toCallBackInfo(&callBack);
        QCOMPARE(answer.text1, QString(65, 'a'));
        QCOMPARE(answer.text2, QString(65, 'b'));
        QCOMPARE(answer.text3, QString(21, 'c'));
        QCOMPARE(answer.text4, QString(65, 'd'));
    }

    void remoteVideoRatioByType()
    {
        using Ratio = std::tuple<QString, int, int, int, QString>;
        Inbox<QString, int, int, int, QString> voip(&Voip_Agent::sig_onVoipRemoteVideoRatio);
        Inbox<QString, int, int, int, QString> conf(&Voip_Agent::sig_onConfRemoteVideoRatio);
        Inbox<QString, int, int, int, QString> share(
            &Voip_Agent::sig_onDesktopShareRemoteVideoRatio);
        TQLogCapture log;
        const char *noMember = nullptr;
        // Type 3 first: had it emitted anything, it would arrive before the others.
        zssim::Control::fire(&ZS_VoIPCallBack::onRemoteVideoRatio, "conf-3", 320, 240, 3, "m3");
        zssim::Control::fire(&ZS_VoIPCallBack::onRemoteVideoRatio, "call-1", 640, 360, 0, "1002");
        zssim::Control::fire(&ZS_VoIPCallBack::onRemoteVideoRatio, "conf-1", 1280, 720, 1,
                             noMember);
        zssim::Control::fire(&ZS_VoIPCallBack::onRemoteVideoRatio, "conf-2", 1920, 1080, 2, "1004");
        QVERIFY(zssim::Control::waitIdle());

        QTRY_COMPARE(share.count(), 1);
        QCOMPARE(voip.entries, QList<Ratio>{Ratio("call-1", 640, 360, 0, "1002")});
        QCOMPARE(conf.entries, QList<Ratio>{Ratio("conf-1", 1280, 720, 1, "")});
        QCOMPARE(share.entries, QList<Ratio>{Ratio("conf-2", 1920, 1080, 2, "1004")});
        QCOMPARE(log.texts().first(),
                 QString("Voip_CallBackProxy::callback_onRemoteVideoRatio "
                         "CallidOrConferenceId=conf-3 width=320 height=240 "
                         "type=3 member=m3"));
        QCOMPARE(log.texts().size(), 4);
    }

    void dtmfAndMediaSwitchTexts()
    {
        Inbox<QString, char> dtmf(&Voip_Agent::sig_onDtmfReceived);
        Inbox<QString, int> request(&Voip_Agent::sig_onSwitchCallMediaTypeRequest);
        Inbox<QString, int> response(&Voip_Agent::sig_onSwitchCallMediaTypeResponse);
        TQLogCapture log;
        const char *noId = nullptr;
        zssim::Control::fire(&ZS_VoIPCallBack::onDtmfReceived, noId, '5');
        zssim::Control::fire(&ZS_VoIPCallBack::onDtmfReceived, "call-1", '#');
        zssim::Control::fire(&ZS_VoIPCallBack::onSwitchCallMediaTypeRequest, noId, 1);
        zssim::Control::fire(&ZS_VoIPCallBack::onSwitchCallMediaTypeResponse, "call-1", 0);
        QVERIFY(zssim::Control::waitIdle());

        QTRY_COMPARE(response.count(), 1);
        QCOMPARE(dtmf.entries,
                 (QList<std::tuple<QString, char>>{{QString(), '5'}, {"call-1", '#'}}));
        QCOMPARE(request.entries, (QList<std::tuple<QString, int>>{{QString(), 1}}));
        QCOMPARE(response.entries, (QList<std::tuple<QString, int>>{{"call-1", 0}}));
        QCOMPARE(log.count("Voip_CallBackProxy::callback_onDtmfReceived"), 2);
        QCOMPARE(log.count("Voip_CallBackProxy::callback_onSwitchCallMediaTypeRequest"), 1);
        QCOMPARE(log.count("Voip_CallBackProxy::callback_onSwitchCallMediaTypeResponse"), 1);
    }

    // Dial, the callee answers, DTMF, switch to video, hang up: every answer reaches the main
    // thread with its record intact (the engine scribbles its copies after each callback).
    void callEndToEnd()
    {
        Inbox<int, Agent_VoIPCallMsg> events(&Voip_Agent::sig_onCallEvents);
        Inbox<QString, int> switched(&Voip_Agent::sig_onSwitchCallMediaTypeResponse);
        Inbox<QString, int, int, int, QString> ratio(&Voip_Agent::sig_onVoipRemoteVideoRatio);
        Voip_Agent *agent = Voip_Agent::instance();

        emit agent->sig_makeCall(1, "1002");
        QTRY_COMPARE(events.count(), 3);
        const QString id = events.arg<1>(0).callid;
        QVERIFY(!id.isEmpty());
        QCOMPARE(events.entries,
                 (QList<std::tuple<int, Agent_VoIPCallMsg>>{
                     {200, callMsg(ZS_CALL_EVENT_PROCEEDING, 1, id, "1001", "1002")},
                     {200, callMsg(ZS_CALL_EVENT_ALERTING, 1, id, "1001", "1002")},
                     {200, callMsg(ZS_CALL_EVENT_ANSWERED, 1, id, "1001", "1002")}}));
        for (QThread *thread : qAsConst(events.threads))
            QCOMPARE(thread, QThread::currentThread());

        emit agent->sig_sendDTMF(id, '9');
        emit agent->sig_requestSwitchCallMediaType(id, 1);
        QTRY_COMPARE(ratio.count(), 1);
        QCOMPARE(switched.entries, (QList<std::tuple<QString, int>>{{id, 1}}));
        QCOMPARE(ratio.entries.first(), std::make_tuple(id, 640, 480, 0, QString("1002")));

        emit agent->sig_releaseCall(id, 0);
        QTRY_COMPARE(events.count(), 4);
        QCOMPARE(events.entries[3],
                 std::make_tuple(0, callMsg(ZS_CALL_EVENT_RELEASED, 1, id, "1001", "1002")));
        zssim::Control::withServer([](zssim::ServerModel &s) {
            QVERIFY(s.calls.calls.isEmpty());
            QVERIFY(s.calls.currentCallId.isEmpty());
        });
        QCOMPARE(zssim::Control::calls("SendDTMF").value(0).args.value(1), QVariant(int('9')));
    }

    void injectedIncomingCall()
    {
        Inbox<Agent_VoIPComingInfo> incoming(&Voip_Agent::sig_onCallIncoming);
        Inbox<int, Agent_VoIPCallMsg> events(&Voip_Agent::sig_onCallEvents);
        const QString id = zssim::injectIncomingCall("1003", QString::fromUtf8("Carol 张"), 2);
        QTRY_COMPARE(incoming.count(), 1);
        Agent_VoIPComingInfo expected;
        expected.number1 = 2;
        expected.text1 = id;
        expected.text2 = "1003";
        expected.text3 = QString::fromUtf8("Carol 张");
        expected.text4 = "1001";
        QCOMPARE(incoming.arg<0>(0), expected);

        emit Voip_Agent::instance()->sig_acceptCall(id);
        QTRY_COMPARE(events.count(), 1);
        QCOMPARE(events.entries[0],
                 std::make_tuple(200, callMsg(ZS_CALL_EVENT_ANSWERED, 2, id, "1003", "1001")));
        zssim::injectRemoteRelease(id, 200);
        QTRY_COMPARE(events.count(), 2);
        QCOMPARE(events.arg<1>(1).eCode, int(ZS_CALL_EVENT_RELEASED));
    }

    void makeCallBackAnswer()
    {
        Inbox<int, Agent_CallBackInfo> answers(&Voip_Agent::sig_onMakeCallBack);
        emit Voip_Agent::instance()->sig_makeCallBack("1001", "1002", QString::fromUtf8("安"),
                                                      "Bob");
        QTRY_COMPARE(answers.count(), 1);
        Agent_CallBackInfo expected;
        expected.text1 = "1001";
        expected.text2 = "1002";
        expected.text3 = QString::fromUtf8("安");
        expected.text4 = "Bob";
        QCOMPARE(answers.entries[0], std::make_tuple(200, expected));
    }
};

QTEST_MAIN(TestVoipCallbacks)
#include "tst_voipcallbacks.moc"
