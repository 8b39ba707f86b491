// Voip_Agent's requests: engine calls with their argument orders and log lines, the results
// emitted at once, the camera choice, and what the agent makes of a faulty engine.

#include "VoipTestSupport.h"

#include <TQLog.h>

#include <functional>

using Emit = std::function<void(Voip_Agent *)>;
Q_DECLARE_METATYPE(Emit)

namespace {

void *handle(quintptr value)
{
    return reinterpret_cast<void *>(value);
}

qulonglong journaled(quintptr value)
{
    return qulonglong(value);
}

QVariantList args(std::initializer_list<QVariant> values)
{
    return QVariantList(values);
}

QByteArray text(const char *utf8)
{
    return QByteArray(utf8);
}

// Lines of the agent itself, in order (callbacks of the engine may log meanwhile).
QStringList agentLines(const TQLogCapture &log)
{
    QStringList lines;
    for (const QString &line : log.texts())
        if (line.startsWith(QLatin1String("Voip_Agent::")) || line.startsWith("------>"))
            lines << line;
    return lines;
}

QStringList functions()
{
    QStringList names;
    for (const zssim::CallRecord &call : zssim::Control::journal())
        names << call.function;
    return names;
}

CallModel::Camera camera(int index, QList<QPair<int, int>> sizes)
{
    CallModel::Camera c;
    c.index = index;
    c.name = "Stand-in camera";
    for (const auto &size : sizes)
        c.capabilities.append(ZS_CameraCapability{size.first, size.second, 30});
    return c;
}

void setCameras(QList<CallModel::Camera> cameras)
{
    zssim::Control::withServer([&](zssim::ServerModel &s) { s.calls.cameras = cameras; });
}

// Runs sig_getCameraInfo to its end; returns the scales emitted.
QList<float> getCameraInfo()
{
    Inbox<float> scales(&Voip_Agent::sig_onLocalVideoScale);
    emit Voip_Agent::instance()->sig_getCameraInfo();
    drain();
    QList<float> emitted;
    for (const auto &entry : scales.entries)
        emitted << std::get<0>(entry);
    return emitted;
}

} // namespace

class TestVoipAgent : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startEngine()); }

    // The one-line requests: each slot hands its arguments to one engine function in order
    // and logs what that function returned (here a refusal, to tell it from a constant 0).
    void oneLineRequests_data()
    {
        QTest::addColumn<Emit>("request");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariantList>("expectedArgs");
        QTest::addColumn<QString>("logLine");

        QTest::newRow("makeCallBack")
            << Emit([](Voip_Agent *a) { emit a->sig_makeCallBack("1001", "1002", "Ann", "Bob"); })
            << "MakeCallBack" << args({text("1001"), text("1002"), text("Ann"), text("Bob")})
            << "Voip_Agent::slot_makeCallBack,ret=1006";
        QTest::newRow("acceptCall")
            << Emit([](Voip_Agent *a) { emit a->sig_acceptCall("call-9"); }) << "AcceptCall"
            << args({text("call-9")}) << "Voip_Agent::slot_acceptCall,ret=1006";
        QTest::newRow("releaseCall")
            << Emit([](Voip_Agent *a) { emit a->sig_releaseCall("call-9", 603); }) << "ReleaseCall"
            << args({text("call-9"), 603}) << "Voip_Agent::slot_releaseCall,ret=1006";
        QTest::newRow("sendDTMF") << Emit([](Voip_Agent *a) {
            emit a->sig_sendDTMF("call-9", '#');
        }) << "SendDTMF" << args({text("call-9"), int('#')})
                                  << "Voip_Agent::slot_sendDTMF,ret=1006";
        QTest::newRow("setMute") << Emit([](Voip_Agent *a) { emit a->sig_setMute(true); })
                                 << "SetMute" << args({1}) << "Voip_Agent::slot_setMute,ret=1006";
        QTest::newRow("ShareScreen")
            << Emit([](Voip_Agent *a) { emit a->sig_ShareScreen(false, "1001"); })
            << "SetLocalShareDevice" << args({text("1001"), 0})
            << "Voip_Agent::slot_ShareScreen,ret=1006";
        QTest::newRow("setAudioConfigEnabled")
            << Emit([](Voip_Agent *a) { emit a->sig_setAudioConfigEnabled(3, true, 2); })
            << "SetAudioConfigEnabled" << args({3, 1, 2})
            << "Voip_Agent::slot_setAudioConfigEnabled,ret=1006";
        // Refused: the outs are not written, and read as zero.
        QTest::newRow("getAudioConfigEnabled")
            << Emit([](Voip_Agent *a) { emit a->sig_getAudioConfigEnabled(3); })
            << "GetAudioConfigEnabled" << args({3})
            << "Voip_Agent::slot_getAudioConfigEnabled,ret=1006,enabled=0,mode=0";
        QTest::newRow("setCodecEnabled")
            << Emit([](Voip_Agent *a) { emit a->sig_setCodecEnabled(10, false); })
            << "SetCodecEnabled" << args({10, 0}) << "Voip_Agent::slot_setCodecEnabled,ret=1006";
        QTest::newRow("setCodecRed")
            << Emit([](Voip_Agent *a) { emit a->sig_setCodecRed(1); }) << "SetCodecRed" << args({1})
            << "Voip_Agent::slot_setCodecRed,ret=1006";
        QTest::newRow("GetCodecEnabled")
            << Emit([](Voip_Agent *a) { emit a->sig_GetCodecEnabled(10); }) << "GetCodecEnabled"
            << args({10}) << "Voip_Agent::slot_GetCodecEnabled,isCodecEnabled=0";
        QTest::newRow("setCodecNack")
            << Emit([](Voip_Agent *a) { emit a->sig_setCodecNack(false, true); }) << "SetCodecNack"
            << args({0, 1}) << "Voip_Agent::slot_setCodecNack,ret=1006";
        QTest::newRow("getCodecNack")
            << Emit([](Voip_Agent *a) { emit a->sig_getCodecNack(); }) << "GetCodecNack" << args({})
            << "Voip_Agent::slot_getCodecNack,ret=1006,bAudioNack=0,bVideoNack=0";
        QTest::newRow("getCallStatistics")
            << Emit([](Voip_Agent *a) { emit a->sig_getCallStatistics("call-9", true); })
            << "GetCallStatistics" << args({text("call-9"), 1})
            << "Voip_Agent::slot_getCallStatistics,ret=1006";
        QTest::newRow("setVideoView")
            << Emit([](Voip_Agent *a) { emit a->sig_setVideoView(handle(0x10), handle(0x20)); })
            << "SetVideoView" << args({journaled(0x10), journaled(0x20)})
            << "Voip_Agent::slot_setVideoView,ret=1006";
        QTest::newRow("setVideoBitRates")
            << Emit([](Voip_Agent *a) { emit a->sig_setVideoBitRates(512); }) << "SetVideoBitRates"
            << args({512}) << "Voip_Agent::slot_setVideoBitRates";
        QTest::newRow("setRing") << Emit([](Voip_Agent *a) {
            emit a->sig_setRing(QString::fromUtf8("铃声.wav"));
        }) << "SetRing" << args({QString::fromUtf8("铃声.wav").toUtf8()})
                                 << "Voip_Agent::slot_setRing,ret=1006";
        QTest::newRow("setRingback")
            << Emit([](Voip_Agent *a) { emit a->sig_setRingback("back.wav"); }) << "SetRingback"
            << args({text("back.wav")}) << "Voip_Agent::slot_setRingback,ret=1006";
        QTest::newRow("requestSwitchCallMediaType")
            << Emit([](Voip_Agent *a) { emit a->sig_requestSwitchCallMediaType("call-9", 1); })
            << "RequestSwitchCallMediaType" << args({text("call-9"), 1})
            << "Voip_Agent::slot_requestSwitchCallMediaType,ret=1006";
        QTest::newRow("responseSwitchCallMediaType")
            << Emit([](Voip_Agent *a) { emit a->sig_responseSwitchCallMediaType("call-9", 0); })
            << "ResponseSwitchCallMediaType" << args({text("call-9"), 0})
            << "Voip_Agent::slot_responseSwitchCallMediaType,ret=1006";
        QTest::newRow("selectCamera")
            << Emit([](Voip_Agent *a) { emit a->sig_selectCamera(1, 2, 30, 90, true); })
            << "SelectCamera" << args({1, 2, 30, 90, 1})
            << "Voip_Agent::slot_selectCamera,ret=1006";
        QTest::newRow("getNetworkStatistic")
            << Emit([](Voip_Agent *a) { emit a->sig_getNetworkStatistic("call-9"); })
            << "GetNetworkStatistic" << args({text("call-9")})
            << "Voip_Agent::slot_getNetworkStatistic,ret=1006";
        QTest::newRow("getSpeakerVolume")
            << Emit([](Voip_Agent *a) { emit a->sig_getSpeakerVolume(); }) << "GetSpeakerVolume"
            << args({}) << "Voip_Agent::slot_getSpeakerVolume,ret=1006";
        QTest::newRow("setSpeakerVolume")
            << Emit([](Voip_Agent *a) { emit a->sig_setSpeakerVolume(80); }) << "SetSpeakerVolume"
            << args({80u}) << "Voip_Agent::slot_setSpeakerVolume,ret=1006";
        QTest::newRow("setDtxEnabled")
            << Emit([](Voip_Agent *a) { emit a->sig_setDtxEnabled(true); }) << "SetDtxEnabled"
            << args({1}) << "Voip_Agent::slot_setDtxEnabled";
        QTest::newRow("setSelfPhoneNumber")
            << Emit([](Voip_Agent *a) { emit a->sig_setSelfPhoneNumber("+86 10 1234"); })
            << "SetSelfPhoneNumber" << args({text("+86 10 1234")})
            << "Voip_Agent::slot_setSelfPhoneNumber";
        QTest::newRow("setSelfName")
            << Emit([](Voip_Agent *a) { emit a->sig_setSelfName(QString::fromUtf8("张三")); })
            << "SetSelfName" << args({QString::fromUtf8("张三").toUtf8()})
            << "Voip_Agent::slot_setSelfName";
        // No current call: the engine's null id goes back as an empty text, not null.
        QTest::newRow("startRecordScreen")
            << Emit([](Voip_Agent *a) { emit a->sig_startRecordScreen("rec.mp4", 1000, 15, 1); })
            << "StartRecordScreen" << args({text(""), text("rec.mp4"), 1000, 15, 1})
            << "Voip_Agent::slot_startRecordScreen,ret=1006";
        QTest::newRow("startRecordScreenEx")
            << Emit([](Voip_Agent *a) {
                   emit a->sig_startRecordScreenEx("rec.mp4", 1000, 15, 1, 10, 20, 640, 480);
               })
            << "StartRecordScreenEx"
            << args({text(""), text("rec.mp4"), 1000, 15, 1, 10, 20, 640, 480})
            << "Voip_Agent::slot_startRecordScreenEx,ret=1006";
        QTest::newRow("stopRecordScreen")
            << Emit([](Voip_Agent *a) { emit a->sig_stopRecordScreen(); }) << "StopRecordScreen"
            << args({text("")}) << "Voip_Agent::slot_stopRecordScreen,ret=1006";
    }

    void oneLineRequests()
    {
        QFETCH(Emit, request);
        QFETCH(QString, function);
        QFETCH(QVariantList, expectedArgs);
        QFETCH(QString, logLine);

        zssim::Control::scriptReturn(function, ZS_ERR_BUSY, 1);
        TQLogCapture log;
        request(Voip_Agent::instance());
        QTRY_COMPARE(log.count(logLine), 1);

        const auto calls = zssim::Control::calls(function);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].args, expectedArgs);
        QVERIFY(calls[0].args.isEmpty() || calls[0].args[0].isValid());
    }

    void makeCallByType()
    {
        TQLogCapture log;
        // 7: the screen is shared (flag on, empty number) before dialling.
        emit Voip_Agent::instance()->sig_makeCall(7, "1002");
        // 2: the extended dialler with the fixed text.
        emit Voip_Agent::instance()->sig_makeCall(2, "1003");
        emit Voip_Agent::instance()->sig_makeCall(1, "1004");
        QVERIFY(drain());

        QCOMPARE(functions().filter(QRegularExpression("^(MakeCall|SetLocalShare)")),
                 QStringList({"SetLocalShareDevice", "MakeCall", "MakeCallEx", "MakeCall"}));
        QCOMPARE(zssim::Control::calls("SetLocalShareDevice")[0].args, args({text(""), 1}));
        const auto plain = zssim::Control::calls("MakeCall");
        QCOMPARE(plain[0].args, args({7, text("1002")}));
        QCOMPARE(plain[1].args, args({1, text("1004")}));
        QCOMPARE(zssim::Control::calls("MakeCallEx")[0].args, args({2, text("1003"), text("000")}));
        QCOMPARE(
            agentLines(log).mid(0, 7),
            QStringList({"Voip_Agent::slot_ShareScreen,ret=0", "Voip_Agent::slot_makeCall,Before",
                         "Voip_Agent::slot_makeCall,ret=0", "Voip_Agent::slot_makeCall,Before",
                         "Voip_Agent::slot_makeCall,ret=0", "Voip_Agent::slot_makeCall,Before",
                         "Voip_Agent::slot_makeCall,ret=0"}));
    }

    // Mute and speaker results are emitted at once, with the engine's code even on failure;
    // a refused read gives volume 0, not whatever was on the stack.
    void resultsEmittedAtOnce()
    {
        Inbox<int, bool> setMute(&Voip_Agent::sig_OnSetMuteStatus);
        Inbox<bool> getMute(&Voip_Agent::sig_onGetMuteStatus);
        Inbox<int, uint> getSpeaker(&Voip_Agent::sig_OnGetSpeakerStatus);
        Inbox<int, uint> setSpeaker(&Voip_Agent::sig_OnSetSpeakerStatus);
        TQLogCapture log;
        Voip_Agent *agent = Voip_Agent::instance();

        zssim::Control::scriptReturn("SetMute", ZS_ERR_BUSY, 1);
        emit agent->sig_setMute(true);
        emit agent->sig_setMute(true);
        emit agent->sig_GetMuteStatus();
        zssim::Control::scriptReturn("GetSpeakerVolume", ZS_ERR_NETWORK, 1);
        emit agent->sig_getSpeakerVolume();
        emit agent->sig_setSpeakerVolume(70);
        emit agent->sig_getSpeakerVolume();
        QTRY_COMPARE(getSpeaker.count(), 2);

        QCOMPARE(setMute.entries, (QList<std::tuple<int, bool>>{{ZS_ERR_BUSY, true}, {0, true}}));
        QCOMPARE(getMute.entries, QList<std::tuple<bool>>{true});
        QCOMPARE(log.count("Voip_Agent::slot_GetMuteStatus,isMute=1"), 1);
        QCOMPARE(getSpeaker.entries,
                 (QList<std::tuple<int, uint>>{{ZS_ERR_NETWORK, 0u}, {0, 70u}}));
        QCOMPARE(setSpeaker.entries, (QList<std::tuple<int, uint>>{{0, 70u}}));
        QCOMPARE(getSpeaker.threads[0], QThread::currentThread());
    }

    // Codec and audio settings are kept by the engine and read back (the session agent's
    // three codec requests among them).
    void settingsReadBack()
    {
        TQLogCapture log;
        Voip_Agent *agent = Voip_Agent::instance();
        emit agent->sig_setCodecEnabled(10, false);
        emit agent->sig_setCodecRed(1);
        emit agent->sig_setCodecNack(true, true);
        emit agent->sig_setAudioConfigEnabled(4, true, 3);
        emit agent->sig_GetCodecEnabled(10);
        emit agent->sig_GetCodecEnabled(11);
        emit agent->sig_getCodecNack();
        emit agent->sig_getAudioConfigEnabled(4);
        QVERIFY(drain());

        QCOMPARE(log.count("Voip_Agent::slot_GetCodecEnabled,isCodecEnabled=0"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_GetCodecEnabled,isCodecEnabled=1"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_getCodecNack,ret=0,bAudioNack=1,bVideoNack=1"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_getAudioConfigEnabled,ret=0,enabled=1,mode=3"), 1);
        zssim::Control::withServer([](zssim::ServerModel &s) {
            QCOMPARE(s.calls.codecEnabled.value(10, true), false);
            QCOMPARE(s.calls.codecRed, 1);
        });
    }

    // An engine that writes another byte than 0 or 1 into a flag still means true.
    void engineFlagsAreReadAsBytes()
    {
        Inbox<bool> getMute(&Voip_Agent::sig_onGetMuteStatus);
        TQLogCapture log;
        zssim::Control::withServer([](zssim::ServerModel &s) { s.calls.flagByte = 158; });
        Voip_Agent *agent = Voip_Agent::instance();
        emit agent->sig_getCodecNack();
        emit agent->sig_getAudioConfigEnabled(4);
        emit agent->sig_GetCodecEnabled(10);
        emit agent->sig_GetMuteStatus();
        QVERIFY(drain());
        zssim::Control::withServer([](zssim::ServerModel &s) { s.calls.flagByte = -1; });

        QCOMPARE(log.count("Voip_Agent::slot_getCodecNack,ret=0,bAudioNack=1,bVideoNack=1"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_getAudioConfigEnabled,ret=0,enabled=1,mode=0"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_GetCodecEnabled,isCodecEnabled=1"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_GetMuteStatus,isMute=1"), 1);
        QTRY_COMPARE(getMute.count(), 1);
        QCOMPARE(getMute.arg<0>(0), true);
    }

    void currentCallFeedsVideoAndRecording()
    {
        TQLogCapture log;
        Voip_Agent *agent = Voip_Agent::instance();
        // No call yet: an empty id, still passed to the engine.
        emit agent->sig_getCurrentCall();
        emit agent->sig_resetVideoView(handle(1), handle(2));
        QVERIFY(drain());
        QCOMPARE(log.count("Voip_Agent::slot_getCurrentCall,currentCallId="), 1);
        QCOMPARE(log.count("Voip_Agent::slot_resetVideoView,currentCallId="), 1);
        QCOMPARE(zssim::Control::calls("ResetVideoView")[0].args,
                 args({text(""), journaled(1), journaled(2)}));

        Inbox<int, Agent_VoIPCallMsg> events(&Voip_Agent::sig_onCallEvents);
        emit agent->sig_makeCall(1, "1002");
        QTRY_COMPARE(events.count(), 3);
        const QString callId = events.arg<1>(2).callid;
        QCOMPARE(callId, QString("call-1"));

        Inbox<QString> current(&Voip_Agent::sig_onGetCurrentCall);
        emit agent->sig_getCurrentCall();
        emit agent->sig_resetVideoView(handle(3), handle(4));
        emit agent->sig_startRecordScreen("rec.mp4", 800, 10, 2);
        emit agent->sig_stopRecordScreen();
        QVERIFY(drain());
        QCOMPARE(current.entries.value(0), std::make_tuple(callId));
        QCOMPARE(log.count("Voip_Agent::slot_resetVideoView,currentCallId=call-1"), 1);
        QCOMPARE(zssim::Control::calls("ResetVideoView")[1].args,
                 args({text("call-1"), journaled(3), journaled(4)}));
        QCOMPARE(zssim::Control::calls("StartRecordScreen")[0].args,
                 args({text("call-1"), text("rec.mp4"), 800, 10, 2}));
        QCOMPARE(zssim::Control::calls("StopRecordScreen")[0].args, args({text("call-1")}));
        QCOMPARE(log.count("Voip_Agent::slot_resetVideoView,ret=0"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_startRecordScreen,ret=0"), 1);
        QCOMPARE(log.count("Voip_Agent::slot_stopRecordScreen,ret=0"), 1);
    }

    void videoViewEXThenLevelIdc()
    {
        zssim::Control::clearJournal();
        TQLogCapture log;
        emit Voip_Agent::instance()->sig_setVideoViewEX(handle(1), handle(2), handle(3), handle(4));
        QVERIFY(drain());
        const auto journal = zssim::Control::journal();
        QCOMPARE(journal[0].function, QString("SetVideoViewEX"));
        QCOMPARE(journal[0].args, args({journaled(1), journaled(2), journaled(3), journaled(4)}));
        QCOMPARE(journal[1].function, QString("SetLevelIdc"));
        QCOMPARE(journal[1].args, args({640, 480, text("30"), 52}));
        QCOMPARE(agentLines(log).mid(0, 2),
                 QStringList({"Voip_Agent::slot_setVideoViewEX SetVideoViewEX,ret=0",
                              "Voip_Agent::slot_setVideoViewEX SetLevelIdc,ret=0"}));
    }

    void statisticsRecordStartsZeroed()
    {
        QString callId = zssim::injectIncomingCall("1003", "Carol");
        emit Voip_Agent::instance()->sig_getCallStatistics(callId, true);
        QVERIFY(drain());
        const auto stats = zssim::Control::calls("GetCallStatistics");
        QCOMPARE(stats[0].records.value(0), QByteArray(36, '\0'));
    }

    void cameraChoiceFromFourResolutions()
    {
        setCameras({camera(3, {{1920, 1080}, {1280, 720}, {640, 480}, {320, 240}})});
        TQLogCapture log;
        QCOMPARE(getCameraInfo(), QList<float>{1920.0f / 1080.0f});
        QCOMPARE(agentLines(log).mid(0, 6),
                 QStringList({"Voip_Agent::slot_getCameraInfo,count=1,",
                              "------>index=4, width=320, height=240, scale=1.33333",
                              "------>index=3, width=640, height=480, scale=1.33333",
                              "------>index=2, width=1280, height=720, scale=1.77778",
                              "------>index=1, width=1920, height=1080, scale=1.77778",
                              "Voip_Agent::slot_getCameraInfo,count=1, ret = 0,width=1920,"
                              "height=1080"}));
        QCOMPARE(zssim::Control::calls("SelectCamera")[0].args, args({3, 1, 15, 0, 1}));
    }

    // The walk keeps the lowest index from 640x480 to 1280x720 pixels, both ends included,
    // else 0; a zero height scales to 0, not to infinity.
    void cameraPixelRange()
    {
        struct Case
        {
            QList<QPair<int, int>> sizes;
            int chosen;
            float scale;
        };
        const QList<Case> cases{
            {{{1920, 1080}, {2560, 1440}, {320, 240}}, 0, 1920.0f / 1080.0f},
            {{{320, 240}, {1280, 720}}, 1, 320.0f / 240.0f},
            {{{1920, 1080}, {640, 480}}, 1, 1920.0f / 1080.0f},
            {{{1281, 720}, {639, 480}}, 0, 1281.0f / 720.0f},
            {{{640, 0}, {800, 600}}, 1, 0.0f},
        };
        for (const Case &c : cases) {
            setCameras({camera(0, c.sizes)});
            zssim::Control::clearJournal();
            QCOMPARE(getCameraInfo(), QList<float>{c.scale});
            QCOMPARE(zssim::Control::calls("SelectCamera").value(0).args.value(1),
                     QVariant(c.chosen));
        }
        TQLogCapture log;
        setCameras({camera(0, {{640, 0}})});
        getCameraInfo();
        QCOMPARE(log.count("------>index=1, width=640, height=0, scale=0"), 1);
    }

    // A faulty camera list never crashes: no camera means scale 0 and no SelectCamera; a
    // camera without usable capabilities is selected with capability 0.
    void cameraFaultsFromEngine()
    {
        struct Case
        {
            const char *name;
            std::function<void(CallModel &)> fault;
            int loggedCount;
            bool selects;
        };
        const QList<Case> cases{
            {"no camera", [](CallModel &m) { m.cameras.clear(); }, 0, false},
            {"null list",
             [](CallModel &m) {
                 m.nullCameraList = true;
                 m.overrideCameraCount = true;
                 m.cameraCount = 2;
             },
             2, false},
            {"negative count",
             [](CallModel &m) {
                 m.overrideCameraCount = true;
                 m.cameraCount = -1;
             },
             -1, false},
            {"null capabilities",
             [](CallModel &m) {
                 m.cameras[0].nullCapabilities = true;
                 m.cameras[0].overrideCapabilityCount = true;
                 m.cameras[0].capabilityCount = 3;
             },
             1, true},
            {"negative capability count",
             [](CallModel &m) {
                 m.cameras[0].overrideCapabilityCount = true;
                 m.cameras[0].capabilityCount = -2;
             },
             1, true},
        };
        for (const Case &c : cases) {
            QVERIFY(startEngine());
            setCameras({camera(5, {{1280, 720}, {640, 480}, {320, 240}})});
            zssim::Control::withServer([&](zssim::ServerModel &s) { c.fault(s.calls); });
            TQLogCapture log;
            QCOMPARE(getCameraInfo(), QList<float>{0.0f});
            const QString count = QString::number(c.loggedCount);
            QVERIFY2(log.count("Voip_Agent::slot_getCameraInfo,count=" + count + ",") == 1, c.name);
            const auto selects = zssim::Control::calls("SelectCamera");
            QVERIFY2(selects.size() == (c.selects ? 1 : 0), c.name);
            if (c.selects) {
                QCOMPARE(selects[0].args, args({5, 0, 15, 0, 1}));
                QCOMPARE(log.count("Voip_Agent::slot_getCameraInfo,count=1, ret = 0,width=0,"
                                   "height=0"),
                         1);
            }
        }
    }
};

QTEST_MAIN(TestVoipAgent)
#include "tst_voipagent.moc"
