// The stand-in engine: keys, answers on its own thread, scripted refusals, journal, model,
// and a clean stop.

#include <ZSsdkControl.h>

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {
struct Seen
{
    std::mutex mutex;
    std::vector<std::pair<unsigned int, int>> presence; // key, reason
    std::vector<unsigned long long> versions;
    std::vector<std::thread::id> threads;
    std::vector<ZS_PersonInfo> infos;
    int nullInfos = 0;
} g_seen;

void ZS_CALL onPublishPresence(unsigned int key, int reason)
{
    std::lock_guard<std::mutex> lock(g_seen.mutex);
    g_seen.presence.emplace_back(key, reason);
    g_seen.threads.push_back(std::this_thread::get_id());
}

void ZS_CALL onSetPersonInfo(unsigned int, int, unsigned long long version)
{
    std::lock_guard<std::mutex> lock(g_seen.mutex);
    g_seen.versions.push_back(version);
}

void ZS_CALL onGetPersonInfo(unsigned int, int, const ZS_PersonInfo *info)
{
    std::lock_guard<std::mutex> lock(g_seen.mutex);
    if (info)
        g_seen.infos.push_back(*info);
    else
        ++g_seen.nullInfos;
}

ZS_GeneralCallBack g_table = [] {
    ZS_GeneralCallBack t {};
    t.onPublishPresence = onPublishPresence;
    t.onSetPersonInfo = onSetPersonInfo;
    t.onGetPersonInfo = onGetPersonInfo;
    return t;
}();

std::size_t presenceAnswers()
{
    std::lock_guard<std::mutex> lock(g_seen.mutex);
    return g_seen.presence.size();
}
} // namespace

class TestZSsdk : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        zssim::Control::reset();
        {
            std::lock_guard<std::mutex> lock(g_seen.mutex);
            g_seen.presence.clear();
            g_seen.versions.clear();
            g_seen.threads.clear();
            g_seen.infos.clear();
            g_seen.nullInfos = 0;
        }
        QCOMPARE(SetGeneralCallBackFuction(&g_table), 0);
        QCOMPARE(ZSSDK_Initialize(), 0);
    }

    void acceptedRequestGetsKeyAndAnswerOnEngineThread()
    {
        unsigned int key = 0;
        QCOMPARE(PublishPresence_TQ(&key, 1, 2, "busy"), 0);
        QVERIFY(key != 0);
        QVERIFY(zssim::Control::waitIdle());
        std::lock_guard<std::mutex> lock(g_seen.mutex);
        QCOMPARE(g_seen.presence.size(), std::size_t(1));
        QCOMPARE(g_seen.presence[0].first, key);
        QCOMPARE(g_seen.presence[0].second, 200);
        QVERIFY(g_seen.threads[0] != std::this_thread::get_id());
    }

    void journalDecodesArguments()
    {
        unsigned int key = 0;
        PublishPresence_TQ(&key, 3, 4, "\xe4\xb8\xad");
        PublishPresence_TQ(&key, 0, 0, nullptr);
        const auto calls = zssim::Control::calls("PublishPresence_TQ");
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[0].args.value(0).toInt(), 3);
        QCOMPARE(calls[0].args.value(1).toInt(), 4);
        QCOMPARE(calls[0].args.value(2).toByteArray(), QByteArray("\xe4\xb8\xad"));
        QVERIFY(!calls[1].args.value(2).isValid()); // a null text stays distinguishable
        QCOMPARE(
            zssim::Control::calls("SetGeneralCallBackFuction").value(0).args.value(0).toULongLong(),
            qulonglong(reinterpret_cast<quintptr>(&g_table)));
    }

    void scriptedRefusalHasNoKeyAndNoAnswer()
    {
        zssim::Control::scriptReturn("PublishPresence_TQ", ZS_ERR_NETWORK, 1);
        unsigned int key = 0;
        QCOMPARE(PublishPresence_TQ(&key, 1, 0, ""), int(ZS_ERR_NETWORK));
        QCOMPARE(key, 0u);
        QCOMPARE(PublishPresence_TQ(&key, 1, 0, ""), 0); // the script ran out
        QVERIFY(key != 0);
        QVERIFY(zssim::Control::waitIdle());
        QCOMPARE(presenceAnswers(), std::size_t(1));
    }

    void manualModeAnswersOnlyWhatTheTestFires()
    {
        zssim::Control::setMode(zssim::Mode::Manual);
        unsigned int key = 0;
        QCOMPARE(PublishPresence_TQ(&key, 1, 0, ""), 0);
        QVERIFY(zssim::Control::waitIdle());
        QCOMPARE(presenceAnswers(), std::size_t(0));

        zssim::Control::fire(&ZS_GeneralCallBack::onPublishPresence, key, 486);
        zssim::Control::fire(&ZS_GeneralCallBack::onLogOut, 1); // null entry: not called
        QVERIFY(zssim::Control::waitIdle());
        std::lock_guard<std::mutex> lock(g_seen.mutex);
        QCOMPARE(g_seen.presence.size(), std::size_t(1));
        QCOMPARE(g_seen.presence[0].second, 486);
    }

    void personInfoIsStoredWithGrowingVersions()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) { s.currentUser = "bob"; });
        ZS_PersonInfo info {};
        info.number1 = -5;
        qstrcpy(info.text1, "Bob");
        unsigned int key = 0;
        QCOMPARE(SetPersonInfo(&key, &info), 0);
        QCOMPARE(SetPersonInfo(&key, &info), 0);
        QCOMPARE(GetPersonInfo(&key, "bob"), 0);
        QCOMPARE(GetPersonInfo(&key, "nobody"), 0);
        QVERIFY(zssim::Control::waitIdle());

        std::lock_guard<std::mutex> lock(g_seen.mutex);
        QCOMPARE(g_seen.versions.size(), std::size_t(2));
        QVERIFY(g_seen.versions[0] > (1ULL << 32));
        QCOMPARE(g_seen.versions[1], g_seen.versions[0] + 1);
        QCOMPARE(g_seen.infos.size(), std::size_t(1));
        QCOMPARE(g_seen.infos[0].number1, -5);
        QCOMPARE(QByteArray(g_seen.infos[0].text1), QByteArray("Bob"));
        QCOMPARE(g_seen.nullInfos, 1);
    }

    void keysAreUniqueAcrossThreads()
    {
        constexpr int kThreads = 4;
        constexpr int kPerThread = 500;
        std::vector<std::vector<unsigned int>> keys(kThreads);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&keys, t] {
                for (int i = 0; i < kPerThread; ++i) {
                    unsigned int key = 0;
                    PublishPresence_TQ(&key, 1, 0, "");
                    keys[std::size_t(t)].push_back(key);
                }
            });
        for (auto &thread : threads)
            thread.join();
        std::set<unsigned int> unique;
        for (const auto &list : keys)
            unique.insert(list.begin(), list.end());
        QCOMPARE(unique.size(), std::size_t(kThreads * kPerThread));
        QVERIFY(!unique.count(0));
        QVERIFY(zssim::Control::waitIdle());
        QCOMPARE(presenceAnswers(), std::size_t(kThreads * kPerThread));
    }

    void uninitializeStopsAnswersAndMayComeTwice()
    {
        // Stopped from inside an engine callback: the answer queued behind it never runs.
        zssim::Control::post([] { ZSSDK_UnInitialize(); });
        unsigned int key = 0;
        PublishPresence_TQ(&key, 1, 0, "");
        QTRY_VERIFY(!zssim::Control::initialized());
        QCOMPARE(ZSSDK_UnInitialize(), 0);
        QCOMPARE(ZSSDK_UnInitialize(), 0);
        QVERIFY(zssim::Control::waitIdle());
        QCOMPARE(presenceAnswers(), std::size_t(0));

        key = 0;
        QCOMPARE(PublishPresence_TQ(&key, 1, 0, ""), int(ZS_ERR_NOT_INITIALIZED));
        QCOMPARE(key, 0u);

        QCOMPARE(ZSSDK_Initialize(), 0); // and it can start again
        QCOMPARE(PublishPresence_TQ(&key, 1, 0, ""), 0);
        QVERIFY(zssim::Control::waitIdle());
        QCOMPARE(presenceAnswers(), std::size_t(1));
    }

    void traceFileAtTheGivenLevel()
    {
        QTemporaryDir dir;
        const QByteArray path = (dir.path() + "/sub/SdkLog_test.txt").toUtf8();
        ZSSDK_UnInitialize();
        SetTraceFlag(3, path.constData());
        QCOMPARE(ZSSDK_Initialize(), 0);
        unsigned int key = 0;
        PublishPresence_TQ(&key, 1, 0, "here");
        ZSSDK_UnInitialize();
        QFile file(QString::fromUtf8(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("PublishPresence_TQ(1, 0, here"));
        QCOMPARE(zssim::Control::traceLevel(), 3);
    }
};

QTEST_APPLESS_MAIN(TestZSsdk)
#include "tst_zssdk.moc"
