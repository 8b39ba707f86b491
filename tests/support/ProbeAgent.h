#pragma once

// Small agents built with the shared frame, for tests of the frame itself: a record that
// travels through the engine and back, ordered marks, and build hooks.

#include <AgentFrame.h>
#include <ZSsdk.h>

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

struct Agent_ProbeRecord
{
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    QString text1;
    QString text2;
    QString text3;

    bool operator==(const Agent_ProbeRecord &o) const
    {
        return number1 == o.number1 && number2 == o.number2 && number3 == o.number3
            && text1 == o.text1 && text2 == o.text2 && text3 == o.text3;
    }
};
Q_DECLARE_METATYPE(Agent_ProbeRecord)

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
    void sig_setInfo(Agent_ProbeRecord record);
    void sig_getInfo(QString username);
    void sig_publish(int type, int subtype, QString userdata);
    void sig_mark(int n);

    void sig_onSetInfo(int reason, qulonglong version);
    void sig_onGetInfo(int reason, Agent_ProbeRecord record);
    void sig_onPublish(int reason);

private slots:
    void slot_setInfo(Agent_ProbeRecord record);
    void slot_getInfo(QString username);
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
