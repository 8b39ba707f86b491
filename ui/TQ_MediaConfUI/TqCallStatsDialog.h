#pragma once

#include <QDialog>

class QFormLayout;
class QLabel;
class QTimer;
class TqCallState;

// What the client knows of the call (the agent publishes no statistics: asking only writes
// the engine's figures to its trace). Opening it or pressing Refresh asks the engine again.
class TqCallStatsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TqCallStatsDialog(TqCallState *state, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void refresh();
    QLabel *addRow(const QString &name, const char *objectName);

    TqCallState *m_state;
    QFormLayout *m_form;
    QLabel *m_callId;
    QLabel *m_media;
    QLabel *m_duration;
    QLabel *m_remoteVideo;
    QLabel *m_mute;
    QLabel *m_volume;
    QTimer *m_ticker;
};
