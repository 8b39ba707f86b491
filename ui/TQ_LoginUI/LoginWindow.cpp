#include "LoginWindow.h"

#include <TqClientContext.h>
#include <TqEngineText.h>
#include <TqSession.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *label(const QString &text, const char *role, QWidget *parent)
{
    auto *created = new QLabel(text, parent);
    created->setProperty("role", QByteArray(role));
    return created;
}
} // namespace

LoginWindow::LoginWindow(TqSession *session, const LoginSettings &settings, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("loginWindow"));
    setWindowTitle(tr("Solvane – Log in"));
    buildUi();

    const TqLoginForm remembered = m_settings.load();
    m_account->setText(remembered.account);
    m_server->setText(remembered.server);
    m_port->setText(QString::number(remembered.port));
    m_environment->setCurrentIndex(remembered.environment);
    m_language->setCurrentIndex(m_language->findData(m_settings.language()));
    (remembered.account.isEmpty() ? m_account : m_password)->setFocus();

    connect(m_login, &QPushButton::clicked, this, &LoginWindow::submit);
    connect(m_password, &QLineEdit::returnPressed, this, &LoginWindow::submit);
    connect(m_account, &QLineEdit::returnPressed, m_password, [this] { m_password->setFocus(); });
    connect(m_language, QOverload<int>::of(&QComboBox::activated), this,
            &LoginWindow::onLanguageChosen);
    connect(m_session, &TqSession::stateChanged, this, &LoginWindow::onStateChanged);
    connect(m_session, &TqSession::engineStateChanged, this,
            [this](int code) { m_state->setText(TqEngineText::connectState(code)); });
    connect(m_session, &TqSession::loginFailed, this, &LoginWindow::onLoginFailed);
    connect(m_session, &TqSession::loggedIn, this, &LoginWindow::onLoggedIn);
    connect(m_session, &TqSession::loggedOut, this, &LoginWindow::onLoggedOut);
    onStateChanged();
}

void LoginWindow::buildUi()
{
    auto *title = label(tr("Solvane"), "title", this);
    auto *subtitle = label(tr("Log in with your enterprise account."), "muted", this);

    m_account = new QLineEdit(this);
    m_account->setObjectName(QStringLiteral("accountEdit"));
    m_account->setPlaceholderText(tr("e.g. alice"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *credentials = new QFormLayout;
    credentials->addRow(tr("&Account"), m_account);
    credentials->addRow(tr("&Password"), m_password);

    auto *serverBox = new QGroupBox(tr("Server"), this);
    m_environment = new QComboBox(serverBox);
    m_environment->setObjectName(QStringLiteral("environmentCombo"));
    m_environment->addItems(TqSession::environments());
    m_server = new QLineEdit(serverBox);
    m_server->setObjectName(QStringLiteral("serverEdit"));
    m_port = new QLineEdit(serverBox);
    m_port->setObjectName(QStringLiteral("portEdit"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_port->setMaximumWidth(m_port->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 9);
    auto *address = new QHBoxLayout;
    address->addWidget(m_server, 1);
    address->addWidget(new QLabel(tr("P&ort"), serverBox));
    address->addWidget(m_port);
    qobject_cast<QLabel *>(address->itemAt(1)->widget())->setBuddy(m_port);
    auto *serverForm = new QFormLayout(serverBox);
    serverForm->addRow(tr("&Environment"), m_environment);
    auto *addressLabel = new QLabel(tr("Add&ress"), serverBox);
    addressLabel->setBuddy(m_server);
    serverForm->addRow(addressLabel, address);

    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("languageCombo"));
    // Each language named in itself, so that anyone finds theirs.
    m_language->addItem(QStringLiteral("中文"), LoginSettings::Chinese);
    m_language->addItem(QStringLiteral("English"), LoginSettings::English);
    m_languageNote = label(tr("Takes effect at the next start."), "muted", this);
    m_languageNote->setObjectName(QStringLiteral("languageNote"));
    m_languageNote->hide();
    auto *language = new QHBoxLayout;
    language->addWidget(m_language);
    language->addWidget(m_languageNote, 1);
    auto *languageLabel = new QLabel(tr("&Language"), this);
    languageLabel->setBuddy(m_language);
    auto *languageForm = new QFormLayout;
    languageForm->addRow(languageLabel, language);

    m_error = label(QString(), "error", this);
    m_error->setObjectName(QStringLiteral("errorLabel"));
    m_error->setWordWrap(true);
    m_error->hide();
    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("busyIndicator"));
    m_busy->setRange(0, 0); // moving, no amount
    m_busy->setTextVisible(false);
    m_busy->hide();
    m_state = label(TqEngineText::connectState(0), "muted", this);
    m_state->setObjectName(QStringLiteral("stateLabel"));
    m_login = new QPushButton(tr("Log in"), this);
    m_login->setObjectName(QStringLiteral("loginButton"));
    m_login->setProperty("role", QByteArray("primary"));
    m_login->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    const int gap = fontMetrics().height();
    layout->setContentsMargins(2 * gap, 2 * gap, 2 * gap, 2 * gap);
    layout->setSpacing(gap / 2);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addSpacing(gap / 2);
    layout->addLayout(credentials);
    layout->addWidget(serverBox);
    layout->addLayout(languageForm);
    layout->addWidget(m_error);
    layout->addStretch();
    layout->addWidget(m_busy);
    layout->addWidget(m_login);
    layout->addWidget(m_state, 0, Qt::AlignHCenter);
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
}

QString LoginWindow::hintFor(int reason)
{
    switch (reason) {
    case 400:
        return tr("The server did not accept the login details. Check the port.");
    case 401:
    case 1007:
        return tr("Check the account and the password.");
    case 404:
    case 1008:
        return tr("There is no such account on this server.");
    case 408:
    case 1005:
        return tr("The server did not answer. Check the address and the port.");
    case 1004:
        return tr("Check the network connection.");
    default:
        return QString();
    }
}

void LoginWindow::submit()
{
    if (!m_login->isEnabled())
        return;
    TqLoginForm form;
    form.account = m_account->text().trimmed();
    form.password = m_password->text();
    form.server = m_server->text().trimmed();
    form.port = m_port->text().toInt();
    form.environment = m_environment->currentIndex();
    if (form.account.isEmpty())
        return showProblem(tr("Enter your account."), m_account);
    if (form.password.isEmpty())
        return showProblem(tr("Enter your password."), m_password);
    if (form.server.isEmpty())
        return showProblem(tr("Enter the server address."), m_server);
    if (form.port < 1 || form.port > 65535)
        return showProblem(tr("Enter a port from 1 to 65535."), m_port);

    m_error->hide();
    m_sent = form;
    m_sent.password.clear();
    m_session->login(form);
}

void LoginWindow::showProblem(const QString &text, QWidget *field)
{
    m_error->setText(text);
    m_error->show();
    if (field)
        field->setFocus();
}

void LoginWindow::onStateChanged()
{
    const bool connecting = m_session->state() == TqSession::State::Connecting;
    m_busy->setVisible(connecting);
    m_login->setText(connecting ? tr("Logging in…") : tr("Log in"));
    m_login->setEnabled(!connecting && !m_session->isLoggedIn());
    setEditable(!connecting);
    if (connecting)
        m_state->setText(TqEngineText::connectState(1));
}

void LoginWindow::onLoginFailed(int reason, const QString &problem)
{
    const QString hint = hintFor(reason);
    m_state->setText(TqEngineText::connectState(3));
    QString text = tr("Login failed: %1").arg(problem);
    if (!hint.isEmpty())
        text += QLatin1Char('\n') + hint;
    showProblem(text, reason == 401 ? m_password : nullptr);
}

void LoginWindow::onLoggedIn()
{
    m_settings.remember(m_sent);
    m_password->clear();
    m_error->hide();
    hide();
}

void LoginWindow::onLoggedOut()
{
    if (!m_session->problem().isEmpty())
        showProblem(tr("You were logged out: %1").arg(m_session->problem()));
    m_state->setText(TqEngineText::connectState(0));
    show();
    raise();
    activateWindow();
    m_password->setFocus();
}

void LoginWindow::onLanguageChosen(int index)
{
    m_settings.setLanguage(m_language->itemData(index).toInt());
    m_languageNote->show();
}

void LoginWindow::setEditable(bool editable)
{
    for (QWidget *field : {static_cast<QWidget *>(m_account), static_cast<QWidget *>(m_password),
                           static_cast<QWidget *>(m_environment), static_cast<QWidget *>(m_server),
                           static_cast<QWidget *>(m_port)})
        field->setEnabled(editable);
}

void LoginWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    TqClientContext::instance()->requestQuit();
}
