#pragma once

#include "LoginSettings.h"
#include "tq_loginui_export.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TqSession;

// The login form. It binds to a TqSession: sends the form, shows the connection's state and
// why a login failed (keeping what was typed), hides once logged in and comes back when the
// session ends. Closing it ends the program.
class TQ_LOGINUI_EXPORT LoginWindow : public QWidget
{
    Q_OBJECT
public:
    LoginWindow(TqSession *session, const LoginSettings &settings, QWidget *parent = nullptr);

    // A hint that goes with an engine reason for a failed login, or empty.
    static QString hintFor(int reason);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildUi();
    void submit();
    void showProblem(const QString &text, QWidget *field = nullptr);
    void onStateChanged();
    void onLoginFailed(int reason, const QString &problem);
    void onLoggedIn();
    void onLoggedOut();
    void onLanguageChosen(int index);
    void setEditable(bool editable);

    TqSession *m_session;
    LoginSettings m_settings;
    TqLoginForm m_sent; // the fields of the login on its way, without the password

    QLineEdit *m_account = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_environment = nullptr;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_port = nullptr;
    QComboBox *m_language = nullptr;
    QLabel *m_languageNote = nullptr;
    QLabel *m_error = nullptr;
    QProgressBar *m_busy = nullptr;
    QLabel *m_state = nullptr;
    QPushButton *m_login = nullptr;
};
