#pragma once

#include "ConferenceRecords.h"
#include "tq_mediaconfui_export.h"

#include <ConfRequestRecords.h>
#include <ConfResultRecords.h>

#include <QHash>
#include <QObject>
#include <QPair>
#include <QSet>

// The user's conferences without widgets: the current, scheduled and history lists a page at a
// time, creating, changing and cancelling conferences, and the server's invitations and
// reminders. Fed by Conference_Agent's results (the on* slots); asks through its *Request
// signals, which TqConfAgentLink connects. User-interface thread only.
class TQ_MEDIACONFUI_EXPORT TqConfDirectory : public QObject
{
    Q_OBJECT
public:
    enum class List { Current, Scheduled, History };
    Q_ENUM(List)

    explicit TqConfDirectory(QObject *parent = nullptr);

    // Only an enabled directory (a logged-in user) asks the server anything.
    bool isEnabled() const { return !m_account.isEmpty(); }
    QString account() const { return m_account; }
    // Empty: logged out, everything forgotten.
    void setAccount(const QString &account);

    int pageSize() const { return m_pageSize; }
    void setPageSize(int size);

    QList<TqConfSummary> conferences(List list) const { return m_lists[index(list)].items; }
    TqConfSummary conference(const QString &confId) const;
    // From 1; 0 before the first answer.
    int page(List list) const { return m_lists[index(list)].page; }
    // 0 while unknown.
    int pageCount(List list) const;
    bool hasNextPage(List list) const;
    bool isLoading(List list) const { return m_lists[index(list)].wanted != 0; }

    // The passwords this user gave a conference of theirs in this session (empty when none
    // is known): the one to join with (the host password first), and each of the two.
    QString passwordOf(const QString &confId) const;
    QString memberPasswordOf(const QString &confId) const
    {
        return m_passwords.value(confId).first;
    }
    QString hostPasswordOf(const QString &confId) const { return m_passwords.value(confId).second; }

public slots:
    void refresh(List list);
    void showPage(List list, int page);
    void refreshAll();
    // False when the draft is not complete (a name; a scheduled start in the future).
    bool create(const TqConfDraft &draft);
    bool update(const QString &confId, const TqConfDraft &draft);
    void cancel(const QString &confId);
    void declineInvitation(const TqConfInvitation &invitation);

    // Conference_Agent's results.
    void onInfoList(const Agent_RequestGetConfInfoList &request, int reason,
                    const QList<Agent_ConfInfo> &list, const QString &json);
    void onHistoryList(const Agent_RequestGetHistoryConfInfoList &request, int reason,
                       const QList<Agent_ConfInfo> &list, const QString &json);
    void onCreated(const Agent_RequestCreateConf &request, int reason, const QString &confId);
    void onUpdated(const Agent_RequestUpdateConf &request, int reason);
    void onDeleted(const Agent_RequestDeleteConf &request, int reason);
    void onInvitation(const Agent_ConfInviteNtyMsg &msg);
    void onAppointment(const Agent_ConfAppointmentNtyMsg &msg);
    void onBeforeStart(const Agent_ConfBeforeStartNtyMsg &msg);
    void onEnded(const Agent_ConfEndNtyMsg &msg);
    void onNotification(const Agent_ConfNtyMsg &msg);

signals:
    void listChanged(TqConfDirectory::List list);
    void created(const QString &confId, bool instant);
    void updated(const QString &confId);
    void cancelled(const QString &confId);
    // A request of the user's was refused; `what` names it in words.
    void failed(const QString &what, int reason);
    void invited(const TqConfInvitation &invitation);
    // A scheduled conference made, changed or cancelled by `host` (TqConfCode::Appointment).
    void appointment(int kind, const QString &confId, const QString &name, const QDateTime &start,
                     const QString &host);
    void startingSoon(const TqConfInvitation &conference, int minutes);
    // A conference the user hosts or is in has started.
    void started(const QString &confId, const QString &name);
    void endedElsewhere(const QString &confId, const QString &name, int reason);

    void listRequest(const Agent_RequestGetConfInfoList &request);
    void historyRequest(const Agent_RequestGetHistoryConfInfoList &request);
    void createRequest(const Agent_RequestCreateConf &request);
    void updateRequest(const Agent_RequestUpdateConf &request);
    void deleteRequest(const Agent_RequestDeleteConf &request);
    void rejectRequest(const Agent_RequestConfMemberRejectInvitation &request);

private:
    struct Page
    {
        QList<TqConfSummary> items;
        int page = 0;
        int total = -1; // -1: the server did not say
        int wanted = 0; // the page asked for and not answered yet
    };
    static int index(List list) { return int(list); }
    void take(List list, int pageNo, int reason, const QList<Agent_ConfInfo> &infos,
              const QString &json);

    QString m_account;
    int m_pageSize = 10;
    Page m_lists[3];
    QHash<QString, QPair<QString, QString>> m_passwords; // (members', host's)
    QSet<QString> m_cancelling;
};
