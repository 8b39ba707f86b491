#include "TqClientContext.h"

#include <QCoreApplication>

TqClientContext *TqClientContext::instance()
{
    // Never deleted: windows may still read it while the process ends.
    static TqClientContext *const context = new TqClientContext;
    return context;
}

void TqClientContext::setLoggedIn(const QString &account)
{
    if (account.isEmpty() || account == m_account)
        return;
    if (isLoggedIn())
        setLoggedOut();
    m_account = account;
    emit loggedIn(account);
}

void TqClientContext::setLoggedOut()
{
    if (!isLoggedIn())
        return;
    m_account.clear();
    m_names.clear();
    m_contacts.clear();
    emit loggedOut();
}

QString TqClientContext::displayName(const QString &user) const
{
    const QString name = m_names.value(user);
    return name.isEmpty() ? user : name;
}

void TqClientContext::setDisplayName(const QString &user, const QString &name)
{
    if (user.isEmpty() || m_names.value(user) == name)
        return;
    m_names.insert(user, name);
    emit displayNameChanged(user, name);
}

void TqClientContext::setContacts(const QStringList &users)
{
    if (users == m_contacts)
        return;
    m_contacts = users;
    emit contactsChanged();
}

void TqClientContext::requestCall(const QString &peer, bool video)
{
    if (isLoggedIn() && !peer.isEmpty())
        emit callRequested(peer, video);
}

void TqClientContext::requestProfile(const QString &user)
{
    if (isLoggedIn() && !user.isEmpty())
        emit profileRequested(user);
}

void TqClientContext::requestChat(const QString &peer)
{
    if (isLoggedIn() && !peer.isEmpty())
        emit chatRequested(peer);
}

void TqClientContext::requestFeature(const QString &feature)
{
    if (!feature.isEmpty())
        emit featureRequested(feature);
}

void TqClientContext::requestQuit()
{
    emit quitRequested();
    if (m_quitsApplication)
        QCoreApplication::quit();
}
