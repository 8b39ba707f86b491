#pragma once

#include "tq_customui_export.h"

#include <SessionRecords.h>

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

class SDK_Agent;
class TqClientContext;

// A person's profile (the engine's person record): text1 the display name, text2 the short
// number, text3 the signature. The numbers are not used by this client and go back as they
// came.
struct TQ_CUSTOMUI_EXPORT TqPersonProfile
{
    QString user;
    QString displayName;
    QString shortNumber;
    QString signature;
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;

    static TqPersonProfile fromRecord(const QString &user, const Agent_PersonInfo &record);
    Agent_PersonInfo toRecord() const;
    // The display name, else the user id.
    QString shownName() const { return displayName.isEmpty() ? user : displayName; }
    bool operator==(const TqPersonProfile &o) const;
};

// The profiles the client has learned, and the one place that asks for them: the engine's
// answer to a profile query does not say whose profile it is, so queries are matched to
// answers in order. Every window asks through here, never through sig_getPersonInfo.
// Saving the user's own profile applies the server's answer and keeps its version.
class TQ_CUSTOMUI_EXPORT TqProfiles : public QObject
{
    Q_OBJECT
public:
    // The one bound to the agent; it also tells the context the display names it learns.
    static TqProfiles *instance();
    explicit TqProfiles(QObject *parent = nullptr);

    // The logged-in user, whose profile saveOwn() changes; empty when logged out.
    void setAccount(const QString &account);
    QString account() const { return m_account; }

    bool contains(const QString &user) const { return m_profiles.contains(user); }
    // What is known; only the user id when nothing is.
    TqPersonProfile profile(const QString &user) const;
    bool isPending(const QString &user) const { return m_asked.contains(user); }
    // Queries whose answers are due. An engine that drops an answer would leave the rest
    // matched to the wrong users, so the count shows whether all came back.
    int pendingQueries() const { return m_asked.size(); }

    // The version of the own profile the server gave with the last save; 0 before one.
    qulonglong ownVersion() const { return m_ownVersion; }
    bool isSaving() const { return !m_saving.isEmpty(); }

public slots:
    // Asks for a user's profile unless a query for it is on its way.
    void request(const QString &user);
    // Sends an edit of the own profile; applied when the server accepts it. False when
    // logged out.
    bool saveOwn(const TqPersonProfile &edited);
    // Forgets every profile (at logout); queries on their way are still matched.
    void clear();

    void onGetPersonInfo(int reason, const Agent_PersonInfo &record);
    void onSetPersonInfo(int reason, qulonglong version);

signals:
    void profileChanged(const QString &user);
    void profileUnavailable(const QString &user, int reason);
    void ownSaved(qulonglong version);
    void ownSaveFailed(int reason);

    void requestGetPersonInfo(const QString &user);
    void requestSetPersonInfo(const Agent_PersonInfo &record);

private:
    void bind(SDK_Agent *agent, TqClientContext *context);

    QString m_account;
    QHash<QString, TqPersonProfile> m_profiles;
    QList<QString> m_asked; // users whose answers are due, oldest first
    QList<TqPersonProfile> m_saving; // own edits sent, answers due, oldest first
    qulonglong m_ownVersion = 0;
};

// One person's profile as a dialog shows it: loading, then there or unavailable.
class TQ_CUSTOMUI_EXPORT TqProfile : public QObject
{
    Q_OBJECT
public:
    enum class Status { Loading, Ready, Unavailable };
    Q_ENUM(Status)

    TqProfile(const QString &user, TqProfiles *store, QObject *parent = nullptr);

    QString user() const { return m_user; }
    Status status() const { return m_status; }
    TqPersonProfile data() const;
    int failureReason() const { return m_reason; }

    // Asks the server again (the known profile stays shown meanwhile).
    void load();

signals:
    void changed();

private:
    void onProfileChanged(const QString &user);
    void onUnavailable(const QString &user, int reason);

    QString m_user;
    TqProfiles *m_store;
    Status m_status = Status::Loading;
    int m_reason = 0;
};
