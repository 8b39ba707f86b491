#pragma once

// Small agents built with the shared frame, for tests of the frame itself: requests that
// reach the engine, ordered marks, and build hooks.

#include <AgentFrame.h>
#include <ZSsdk.h>

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

// Where and in which order the marks of all probe agents ran.
struct MarkLog
{
    struct Mark
    {
        QString agent;
        int n;
        QThread *thread;
    };
    static void add(const QString &agent, int n);
    static QList<Mark> marks();
    static void clear();
};

class Probe_Agent : public QObject
{
    Q_OBJECT
public:
    static Probe_Agent *instance();
    static std::atomic_int constructions;
    // Runs inside the build, after the callback table is registered.
    static std::function<void()> duringBuild;

signals:
    void sig_publish(int type, int subtype, QString userdata);
    void sig_mark(int n);

    void sig_onPublish(int reason);

private slots:
    void slot_publish(int type, int subtype, QString userdata);
    void slot_mark(int n);

private:
    Probe_Agent();
    void initConnections();
    static QAtomicPointer<Probe_Agent> ins;
};

class Probe2_Agent : public QObject
{
    Q_OBJECT
public:
    static Probe2_Agent *instance();
    static std::atomic_int constructions;

signals:
    void sig_mark(int n);

private slots:
    void slot_mark(int n);

private:
    Probe2_Agent();
    static QAtomicPointer<Probe2_Agent> ins;
};

// Stays on the thread that created it; its first build can be made to fail.
class Stay_Agent : public QObject
{
    Q_OBJECT
public:
    static Stay_Agent *instance();
    static std::atomic_int constructions;
    static bool failNextBuild;

signals:
    void sig_mark(int n);

private slots:
    void slot_mark(int n);

private:
    Stay_Agent();
    static QAtomicPointer<Stay_Agent> ins;
};
