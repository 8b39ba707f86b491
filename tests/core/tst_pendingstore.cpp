// The store of requests waiting for their engine answer.

#include <PendingRequestStore.h>

#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

#ifdef Q_OS_LINUX
#include <sys/syscall.h>
#include <unistd.h>
#endif

struct Agent_StoredRequest
{
    QString confId;
    int number1 = 0;
};
Q_DECLARE_METATYPE(Agent_StoredRequest)

class TestPendingStore : public QObject
{
    Q_OBJECT

private slots:
    // Must run first: the process-wide store does not exist yet.
    void accessorIsSafeOnConcurrentFirstCalls()
    {
        constexpr int kThreads = 8;
        QSemaphore go;
        std::vector<PendingRequestStore *> seen(kThreads);
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i)
            threads.emplace_back([&, i] {
                go.acquire();
                seen[std::size_t(i)] = PendingRequestStore::instance();
            });
        go.release(kThreads);
        for (auto &t : threads)
            t.join();
        for (auto *store : seen)
            QCOMPARE(store, PendingRequestStore::instance());
    }

    void laterInsertReplacesAndTakeRemoves()
    {
        PendingRequestStore store;
        store.insert(7, QVariant::fromValue(Agent_StoredRequest{"first", 1}));
        store.insert(7, QVariant::fromValue(Agent_StoredRequest{"second", 2}));
        QCOMPARE(store.size(), 1);

        QVariant out;
        QVERIFY(store.take(7, out));
        QVERIFY(out.canConvert<Agent_StoredRequest>());
        QCOMPARE(out.value<Agent_StoredRequest>().confId, QString("second"));
        QCOMPARE(store.size(), 0);

        QVariant again;
        QVERIFY(!store.take(7, again));
        QVERIFY(!again.isValid());
    }

    void missLeavesOutputAndMapUntouched()
    {
        PendingRequestStore store;
        store.insert(1, 10);
        QVariant out(QStringLiteral("caller's"));
        QVERIFY(!store.take(2, out));
        QCOMPARE(out, QVariant(QStringLiteral("caller's")));
        QCOMPARE(store.size(), 1);
    }

    void keyZeroIsNeverStored()
    {
        PendingRequestStore store;
        store.insert(0, 1);
        store.insert(0, 2);
        QCOMPARE(store.size(), 0);
        QVariant out;
        QVERIFY(!store.take(0, out));
        QVERIFY(!out.isValid());
    }

    void answerBeforeInsertLeavesNothingBehind()
    {
        PendingRequestStore store;
        QVariant out;
        QVERIFY(!store.take(42, out)); // the answer came first
        store.insert(42, 1); // the request's late insert
        QCOMPARE(store.size(), 0);

        store.insert(42, 2); // the key is forgotten once matched: a reused key works again
        QCOMPARE(store.size(), 1);
    }

    void answeredKeysAreRememberedBoundedly()
    {
        PendingRequestStore store;
        QVariant out;
        for (unsigned int key = 1; key <= PendingRequestStore::kAnsweredKeysKept + 1; ++key)
            store.take(key, out);
        store.insert(1, 1); // the oldest was forgotten, so this insert stays
        store.insert(2, 2); // still remembered: dropped
        QCOMPARE(store.size(), 1);
    }

    void staleEntriesArePruned()
    {
        PendingRequestStore store;
        qint64 now = 1000;
        store.setClock([&] { return now; });
        store.insert(1, 1);
        now += 5 * 60 * 1000;
        store.insert(2, 2);
        now += 5 * 60 * 1000 + 1; // entry 1 is now older than ten minutes
        store.insert(3, 3);
        QCOMPARE(store.size(), 2);
        QVariant out;
        QVERIFY(!store.take(1, out));
        QVERIFY(store.take(2, out));
        QVERIFY(store.take(3, out));
    }

    void sizeIsCapped()
    {
        PendingRequestStore store;
        store.setCapacity(3);
        for (unsigned int key = 1; key <= 5; ++key)
            store.insert(key, key);
        QCOMPARE(store.size(), 3);
        QVariant out;
        QVERIFY(!store.take(1, out)); // the oldest went first
        QVERIFY(!store.take(2, out));
        QVERIFY(store.take(5, out));
    }

    void manyInsertsAndTakesBehindALongLivedEntry()
    {
        PendingRequestStore store;
        store.insert(1, 1); // never answered
        QVariant out;
        for (unsigned int key = 2; key < 100000; ++key) {
            store.insert(key, key);
            QVERIFY(store.take(key, out));
        }
        QCOMPARE(store.size(), 1);
    }

    // An answer taken while its request is being stored waits for the store to finish. The
    // insert is held inside the store (in the clock it reads there) until the answering thread
    // is seen asleep in take() or done with it, so a take() that skipped the lock is caught on
    // every run.
    void takeWaitsForAnInsertInProgress()
    {
#ifndef Q_OS_LINUX
        QSKIP("needs /proc to see a thread asleep");
#else
        PendingRequestStore store;
        QSemaphore inClock;
        QSemaphore release;
        store.setClock([&] {
            inClock.release();
            release.acquire();
            return qint64(1);
        });
        std::thread inserter([&] { store.insert(7, 70); });
        inClock.acquire();

        std::atomic<long> tid{0};
        std::atomic_bool done{false};
        std::atomic_bool found{false};
        std::thread taker([&] {
            QVariant out;
            tid = long(::syscall(SYS_gettid));
            found = store.take(7, out);
            done = true;
        });
        const auto asleep = [&] {
            QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid.load()));
            if (tid.load() == 0 || !stat.open(QIODevice::ReadOnly))
                return false;
            const QByteArray line = stat.readAll();
            const int end = line.lastIndexOf(')'); // the name may hold spaces
            return end > 0 && line.mid(end + 2, 1) == "S";
        };
        const bool settled = QTest::qWaitFor([&] { return done.load() || asleep(); }, 30000);
        release.release();
        inserter.join();
        taker.join();
        QVERIFY(settled);
        QVERIFY2(found.load(), "take() ran inside insert()");
        QCOMPARE(store.size(), 0);
#endif
    }

    void concurrentInsertAndTake()
    {
        PendingRequestStore store;
        constexpr unsigned int kPerThread = 1500; // both threads stay under the cap
        std::atomic_int taken{0};
        std::vector<std::thread> threads;
        for (unsigned int t = 0; t < 2; ++t) {
            threads.emplace_back([&, t] { // issuing side
                for (unsigned int i = 1; i <= kPerThread; ++i)
                    store.insert(t * kPerThread + i, i);
            });
        }
        for (auto &thread : threads)
            thread.join();
        threads.clear();
        for (unsigned int t = 0; t < 4; ++t) {
            threads.emplace_back([&] { // callback threads, racing for the same keys
                QVariant out;
                for (unsigned int key = 1; key <= 2 * kPerThread; ++key)
                    if (store.take(key, out))
                        ++taken;
            });
        }
        for (auto &thread : threads)
            thread.join();
        QCOMPARE(taken.load(), int(2 * kPerThread));
        QCOMPARE(store.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPendingStore)
#include "tst_pendingstore.moc"
