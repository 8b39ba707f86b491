#pragma once

#include "ConferenceRecords.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Creating a conference, or changing a scheduled one: name, topic, instant or scheduled with
// its start, duration and reminders, voice or video, the passwords (masked), and the members
// picked from the contacts or added by account.
class TqConfEditDialog : public QDialog
{
    Q_OBJECT
public:
    using NameLookup = std::function<QString(const QString &)>;

    // `editing`: the conference being changed (empty: a new one).
    TqConfEditDialog(const QStringList &contacts, NameLookup nameOf,
                     const QString &editing = QString(), QWidget *parent = nullptr);

    void setDraft(const TqConfDraft &draft);
    TqConfDraft draft() const;
    QString editing() const { return m_editing; }

private:
    void addMember(const QString &id, bool checked);
    void refresh();

    QString m_editing;
    NameLookup m_nameOf;
    QLineEdit *m_name;
    QLineEdit *m_topic;
    QRadioButton *m_instant;
    QRadioButton *m_scheduled;
    QDateTimeEdit *m_start;
    QSpinBox *m_duration;
    QSpinBox *m_remindStart;
    QSpinBox *m_remindEnd;
    QCheckBox *m_video;
    QLineEdit *m_password;
    QLineEdit *m_hostPassword;
    QListWidget *m_members;
    QLineEdit *m_addEdit;
    QPushButton *m_add;
    QLabel *m_problem;
    QPushButton *m_ok;
};
