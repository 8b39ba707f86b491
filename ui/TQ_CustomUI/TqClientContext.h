#pragma once

#include "tq_customui_export.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

// What the client's windows share: who is logged in, the names they have learned, and the
// requests one window makes of another ("call bob", "show bob's profile"). The windows talk
// through this object rather than through each other. User-interface thread only.
class TQ_CUSTOMUI_EXPORT TqClientContext : public QObject
{
    Q_OBJECT
public:
    static TqClientContext *instance();

    // The account of the session; empty while logged out.
    QString account() const { return m_account; }
    bool isLoggedIn() const { return !m_account.isEmpty(); }
    // By the login window once the connection is up, and by whoever ends the session.
    void setLoggedIn(const QString &account);
    void setLoggedOut();

    // A user's display name as last learned by any window; the user id when none is known.
    QString displayName(const QString &user) const;
    void setDisplayName(const QString &user, const QString &name);

    // The user's contacts as the main window knows them, for windows that pick people.
    QStringList contacts() const { return m_contacts; }
    void setContacts(const QStringList &users);

    // Whether requestQuit() also quits the application (on by default; tests turn it off and
    // watch quitRequested instead).
    void setQuitsApplication(bool on) { m_quitsApplication = on; }

public slots:
    void requestCall(const QString &peer, bool video);
    void requestProfile(const QString &user);
    void requestChat(const QString &peer);
    // Opens one of the suite's features by id (see TqFeature below), e.g. the app centre.
    void requestFeature(const QString &feature);
    // The user closed a window that ends the program. The launcher keeps running when windows
    // close, so the window libraries end it here.
    void requestQuit();

signals:
    void loggedIn(const QString &account);
    void loggedOut();
    void displayNameChanged(const QString &user, const QString &name);
    void contactsChanged();
    void callRequested(const QString &peer, bool video);
    void profileRequested(const QString &user);
    void chatRequested(const QString &peer);
    void featureRequested(const QString &feature);
    void quitRequested();

private:
    TqClientContext() = default;

    QString m_account;
    QHash<QString, QString> m_names;
    QStringList m_contacts;
    bool m_quitsApplication = true;
};

// Feature ids of requestFeature().
namespace TqFeature {
inline const QString appCenter()
{
    return QStringLiteral("appcenter");
}
inline const QString contacts()
{
    return QStringLiteral("contacts");
}
inline const QString messages()
{
    return QStringLiteral("messages");
}
inline const QString groups()
{
    return QStringLiteral("groups");
}
inline const QString calls()
{
    return QStringLiteral("calls");
}
inline const QString conferences()
{
    return QStringLiteral("conferences");
}
inline const QString meetings()
{
    return QStringLiteral("meetings");
}
inline const QString whiteBoard()
{
    return QStringLiteral("whiteboard");
}
inline const QString roomVideo()
{
    return QStringLiteral("roomvideo");
}
} // namespace TqFeature
