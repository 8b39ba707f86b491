#pragma once

#include "tq_mainui_export.h"

#include <TqProfiles.h>

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TqAvatar;

// A person's profile, bound to a TqProfile: loading, then the name, short number, signature
// and presence; call buttons.
class TQ_MAINUI_EXPORT ProfileDialog : public QDialog
{
    Q_OBJECT
public:
    ProfileDialog(const QString &user, TqProfiles *store, QWidget *parent = nullptr);

    QString user() const;
    // Presence in words, kept up to date by whoever knows it.
    void setPresenceText(const QString &text);

private:
    void refresh();

    TqProfile *m_profile;
    TqAvatar *m_avatar;
    QLabel *m_name;
    QLabel *m_id;
    QLabel *m_status;
    QLabel *m_presence;
    QLabel *m_number;
    QLabel *m_signature;
};

// Edits the user's own profile. The caller sends it; the dialog only checks that each text
// fits its field in the engine's record.
class TQ_MAINUI_EXPORT EditProfileDialog : public QDialog
{
    Q_OBJECT
public:
    EditProfileDialog(const TqPersonProfile &current, QWidget *parent = nullptr);

    TqPersonProfile edited() const;
    // What is wrong with an edit, or empty: the name fits in 128 bytes of UTF-8, the short
    // number in 20, the signature in 1305.
    static QString problemWith(const TqPersonProfile &edit);

    void accept() override;

private:
    TqPersonProfile m_current;
    QLineEdit *m_name;
    QLineEdit *m_number;
    QLineEdit *m_signature;
    QLabel *m_error;
};
