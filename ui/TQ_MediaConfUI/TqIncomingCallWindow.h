#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class TqCallState;

// Someone calls: who and with what media, accept or decline. Closing the window declines.
class TqIncomingCallWindow : public QWidget
{
    Q_OBJECT
public:
    using NameLookup = std::function<QString(const QString &)>;

    TqIncomingCallWindow(TqCallState *state, NameLookup nameOf, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    TqCallState *m_state;
    NameLookup m_nameOf;
    QLabel *m_title;
    QLabel *m_peer;
    QLabel *m_status;
    QPushButton *m_accept;
    QPushButton *m_decline;
};
