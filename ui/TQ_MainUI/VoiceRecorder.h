#pragma once

#include "tq_mainui_export.h"

#include <ImRecords.h>

#include <QElapsedTimer>
#include <QObject>
#include <QString>

// Recording one voice note, widget-free: start, then finish (send) or cancel. The engine
// writes the file; when it has stopped, the note's length is asked for, and a note long
// enough is handed on with recorded(). The engine may also stop a recording at its time limit.
class TQ_MAINUI_EXPORT VoiceRecorder : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Idle,
        Starting, // asked the engine to record
        Recording,
        Finishing // stopped; waiting for the file and its length
    };
    Q_ENUM(State)

    // Notes shorter than this are dropped, as a slip of the finger.
    static constexpr int kMinimumMs = 500;
    // The session id the engine's duration answers for this recorder carry.
    static QString durationSession() { return QStringLiteral("tq-voice-recorder"); }

    explicit VoiceRecorder(QObject *parent = nullptr);

    State state() const { return m_state; }
    bool isBusy() const { return m_state != State::Idle; }
    QString peer() const { return m_peer; }
    QString file() const { return m_file; }
    double level() const { return m_level; }
    qint64 elapsedMs() const;

    // Starts recording for `peer` into `file`; false while another recording is on.
    bool start(const QString &peer, const QString &file);
    // Stops; the note goes out once measured.
    void finish();
    // Stops and throws the note away.
    void cancel();
    // Forgets a recording without asking the engine (logout).
    void reset();

public slots:
    void onStartResult(int ret);
    void onStopped();
    void onTimeOut(int ms, const QString &sessionId);
    void onAmplitude(double amplitude, const QString &sessionId);
    void onDuration(const ChatMsgData &msg, int duration);

signals:
    void stateChanged(VoiceRecorder::State state);
    void levelChanged(double level);
    // A note ready to send.
    void recorded(const QString &peer, const QString &file, int durationMs);
    // Why a note was not recorded, in words.
    void failed(const QString &problem);

    void startRequest(const QString &file, const QString &sessionId);
    void stopRequest(int sendClickState);
    void durationQuery(const ChatMsgData &msg);

private:
    void setState(State state);
    void measure();
    void dropFile();

    State m_state = State::Idle;
    QString m_peer;
    QString m_file;
    bool m_discard = false;
    double m_level = 0;
    QElapsedTimer m_clock;
};
