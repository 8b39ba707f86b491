#pragma once

#include <QDialog>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// People to take into a meeting: the user's contacts with a tick each, and any other account
// typed in.
class TqMeetingPeoplePicker : public QWidget
{
    Q_OBJECT
public:
    explicit TqMeetingPeoplePicker(QWidget *parent = nullptr);

    // The accounts offered, with the names shown for them; ticked ones stay ticked.
    void setPeople(const QStringList &accounts);
    QStringList chosen() const;
    void setChosen(const QStringList &accounts);

signals:
    void chosenChanged();

private:
    void addTyped();
    void addRow(const QString &account, bool ticked);

    QListWidget *m_list;
    QLineEdit *m_account;
    QPushButton *m_add;
};

// A new voice or video meeting, or an interphone, with members from the contacts.
class TqMeetingCreateWindow : public QWidget
{
    Q_OBJECT
public:
    enum Kind { VoiceMeeting, VideoMeeting, Interphone };

    explicit TqMeetingCreateWindow(QWidget *parent = nullptr);

    void setKind(Kind kind);
    // Something is on already: starting another is not offered.
    void setBusyNote(const QString &note);

signals:
    void meetingRequested(int meetingType, const QString &name, const QStringList &members);
    void interphoneRequested(const QStringList &members);

private:
    void refresh();
    void start();

    QComboBox *m_kind;
    QLineEdit *m_name;
    QLabel *m_nameLabel;
    TqMeetingPeoplePicker *m_people;
    QLabel *m_note;
    QPushButton *m_start;
    QPushButton *m_cancel;
    QString m_busy;
};

// Invites more people into the meeting that is on.
class TqMeetingInviteDialog : public QDialog
{
    Q_OBJECT
public:
    TqMeetingInviteDialog(const QStringList &present, QWidget *parent = nullptr);
    QStringList chosen() const;

private:
    TqMeetingPeoplePicker *m_people;
};
