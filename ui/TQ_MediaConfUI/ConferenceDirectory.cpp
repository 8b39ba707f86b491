#include "ConferenceDirectory.h"

#include "ConferenceCodes.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {
constexpr int ScheduledList = TqConfCode::Scheduled;

// The server tells the size of the whole list beside a page, as {"total": n}.
int totalOf(const QString &json)
{
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    const QJsonValue total = o.value(QStringLiteral("total"));
    return total.isDouble() && total.toInt() >= 0 ? total.toInt() : -1;
}

template<class Request> void fillDraft(Request &r, const TqConfDraft &d)
{
    r.ownerPassword = d.hostPassword;
    r.password = d.password;
    r.confName = d.name.trimmed();
    r.confType = d.scheduled ? TqConfCode::Scheduled : TqConfCode::Instant;
    r.appData = QString();
    r.startTime = d.scheduled ? TqConfRecords::timeText(d.start) : QString();
    r.duration = qMax(0, d.durationMinutes);
    r.sendInvitation = 1;
    r.remindBeforeStart = d.scheduled ? qMax(0, d.remindBeforeStart) : 0;
    r.remindBeforeEnd = qMax(0, d.remindBeforeEnd);
    r.confTopic = d.topic.trimmed();
    for (const QString &id : d.members)
        r.members << Agent_ConfNewMember{id, 0, TqConfCode::Attendee, QString(), QString()};
}
} // namespace

TqConfDirectory::TqConfDirectory(QObject *parent)
    : QObject(parent)
{ }

void TqConfDirectory::setAccount(const QString &account)
{
    if (account == m_account)
        return;
    m_account = account;
    m_passwords.clear();
    m_cancelling.clear();
    for (List list : {List::Current, List::Scheduled, List::History}) {
        m_lists[index(list)] = Page();
        emit listChanged(list);
    }
}

void TqConfDirectory::setPageSize(int size)
{
    m_pageSize = qMax(1, size);
}

QString TqConfDirectory::passwordOf(const QString &confId) const
{
    // The host joins with the host password; without one, with the members' password.
    const QPair<QString, QString> known = m_passwords.value(confId);
    return known.second.isEmpty() ? known.first : known.second;
}

TqConfSummary TqConfDirectory::conference(const QString &confId) const
{
    for (const Page &p : m_lists)
        for (const TqConfSummary &s : p.items)
            if (s.id == confId)
                return s;
    return TqConfSummary();
}

int TqConfDirectory::pageCount(List list) const
{
    const Page &p = m_lists[index(list)];
    if (p.total < 0)
        return 0;
    return qMax(1, (p.total + m_pageSize - 1) / m_pageSize);
}

bool TqConfDirectory::hasNextPage(List list) const
{
    const Page &p = m_lists[index(list)];
    if (p.page == 0)
        return false;
    // Without a total, a full page may have a next one.
    return p.total >= 0 ? p.page < pageCount(list) : p.items.size() >= m_pageSize;
}

void TqConfDirectory::refresh(List list)
{
    showPage(list, qMax(1, page(list)));
}

void TqConfDirectory::refreshAll()
{
    for (List list : {List::Current, List::Scheduled, List::History})
        refresh(list);
}

void TqConfDirectory::showPage(List list, int pageNo)
{
    if (!isEnabled() || pageNo < 1)
        return;
    m_lists[index(list)].wanted = pageNo;
    if (list == List::History) {
        Agent_RequestGetHistoryConfInfoList r;
        r.pageNo = pageNo;
        r.pageSize = m_pageSize;
        emit historyRequest(r);
    } else {
        Agent_RequestGetConfInfoList r;
        r.confType = list == List::Scheduled ? ScheduledList : 0;
        r.pageNo = pageNo;
        r.pageSize = m_pageSize;
        emit listRequest(r);
    }
    emit listChanged(list);
}

void TqConfDirectory::take(List list, int pageNo, int reason, const QList<Agent_ConfInfo> &infos,
                           const QString &json)
{
    Page &p = m_lists[index(list)];
    // An answer to a page no longer wanted (the user paged on meanwhile) is dropped.
    if (p.wanted == 0 || pageNo != p.wanted)
        return;
    p.wanted = 0;
    if (reason != TqConfCode::ReasonOk) {
        emit failed(tr("Loading the conferences"), reason);
        emit listChanged(list);
        return;
    }
    const int total = totalOf(json);
    // Past the end (the list shrank meanwhile): back to the last page there is.
    if (infos.isEmpty() && pageNo > 1 && total >= 0) {
        showPage(list, qMax(1, (total + m_pageSize - 1) / m_pageSize));
        return;
    }
    p.items.clear();
    for (const Agent_ConfInfo &info : infos)
        p.items << TqConfRecords::summary(info);
    p.page = pageNo;
    p.total = total;
    emit listChanged(list);
}

void TqConfDirectory::onInfoList(const Agent_RequestGetConfInfoList &request, int reason,
                                 const QList<Agent_ConfInfo> &list, const QString &json)
{
    if (!isEnabled())
        return;
    take(request.confType == ScheduledList ? List::Scheduled : List::Current, request.pageNo,
         reason, list, json);
}

void TqConfDirectory::onHistoryList(const Agent_RequestGetHistoryConfInfoList &request, int reason,
                                    const QList<Agent_ConfInfo> &list, const QString &json)
{
    if (isEnabled())
        take(List::History, request.pageNo, reason, list, json);
}

bool TqConfDirectory::create(const TqConfDraft &draft)
{
    if (!isEnabled() || draft.name.trimmed().isEmpty())
        return false;
    if (draft.scheduled && (!draft.start.isValid() || draft.start <= QDateTime::currentDateTime()))
        return false;
    Agent_RequestCreateConf r;
    fillDraft(r, draft);
    r.mediaType = draft.video ? TqConfCode::Video : TqConfCode::Voice;
    r.members.erase(std::remove_if(r.members.begin(), r.members.end(),
                                   [this](const Agent_ConfNewMember &m) {
                                       return m.text1 == m_account || m.text1.trimmed().isEmpty();
                                   }),
                    r.members.end());
    emit createRequest(r);
    return true;
}

bool TqConfDirectory::update(const QString &confId, const TqConfDraft &draft)
{
    if (!isEnabled() || confId.isEmpty() || draft.name.trimmed().isEmpty())
        return false;
    Agent_RequestUpdateConf r;
    r.confId = confId;
    fillDraft(r, draft);
    r.maxMember = 0;
    emit updateRequest(r);
    return true;
}

void TqConfDirectory::cancel(const QString &confId)
{
    if (!isEnabled() || confId.isEmpty())
        return;
    m_cancelling.insert(confId);
    Agent_RequestDeleteConf r;
    r.confId = confId;
    emit deleteRequest(r);
}

void TqConfDirectory::declineInvitation(const TqConfInvitation &invitation)
{
    if (!isEnabled() || invitation.confId.isEmpty())
        return;
    Agent_RequestConfMemberRejectInvitation r;
    r.confId = invitation.confId;
    r.invitationId = invitation.invitationId;
    emit rejectRequest(r);
}

void TqConfDirectory::onCreated(const Agent_RequestCreateConf &request, int reason,
                                const QString &confId)
{
    if (!isEnabled())
        return;
    if (reason != TqConfCode::ReasonOk || confId.isEmpty()) {
        emit failed(tr("Creating the conference"), reason);
        return;
    }
    if (!request.password.isEmpty() || !request.ownerPassword.isEmpty())
        m_passwords.insert(confId, {request.password, request.ownerPassword});
    emit created(confId, request.confType != TqConfCode::Scheduled);
    refreshAll();
}

void TqConfDirectory::onUpdated(const Agent_RequestUpdateConf &request, int reason)
{
    if (!isEnabled())
        return;
    if (reason != TqConfCode::ReasonOk) {
        emit failed(tr("Changing the conference"), reason);
        return;
    }
    if (request.password.isEmpty() && request.ownerPassword.isEmpty())
        m_passwords.remove(request.confId);
    else
        m_passwords.insert(request.confId, {request.password, request.ownerPassword});
    emit updated(request.confId);
    refreshAll();
}

void TqConfDirectory::onDeleted(const Agent_RequestDeleteConf &request, int reason)
{
    // Ending a conference from its window is the window's to report.
    if (!isEnabled() || !m_cancelling.remove(request.confId)) {
        refreshAll();
        return;
    }
    if (reason != TqConfCode::ReasonOk) {
        emit failed(tr("Cancelling the conference"), reason);
        return;
    }
    emit cancelled(request.confId);
    refreshAll();
}

void TqConfDirectory::onInvitation(const Agent_ConfInviteNtyMsg &msg)
{
    if (!isEnabled() || msg.text1.isEmpty())
        return;
    TqConfInvitation invitation;
    invitation.confId = msg.text1;
    invitation.name = msg.text5;
    invitation.inviter = msg.text2;
    invitation.inviterName = msg.text6;
    invitation.invitationId = msg.text7;
    invitation.video = msg.number2 == TqConfCode::Video;
    emit invited(invitation);
    refresh(List::Current);
}

void TqConfDirectory::onAppointment(const Agent_ConfAppointmentNtyMsg &msg)
{
    if (!isEnabled() || msg.text1.isEmpty())
        return;
    emit appointment(msg.number1, msg.text1, msg.text2, TqConfRecords::time(msg.text4), msg.text3);
    refresh(List::Current);
    refresh(List::Scheduled);
}

void TqConfDirectory::onBeforeStart(const Agent_ConfBeforeStartNtyMsg &msg)
{
    if (!isEnabled() || msg.text1.isEmpty())
        return;
    TqConfInvitation soon;
    soon.confId = msg.text1;
    soon.name = msg.text2;
    soon.video = msg.number2 == TqConfCode::Video;
    emit startingSoon(soon, qMax(0, msg.number1));
}

void TqConfDirectory::onEnded(const Agent_ConfEndNtyMsg &msg)
{
    if (!isEnabled() || msg.text1.isEmpty())
        return;
    emit endedElsewhere(msg.text1, msg.text2, msg.number1);
    refreshAll();
}

void TqConfDirectory::onNotification(const Agent_ConfNtyMsg &msg)
{
    if (!isEnabled() || msg.text1.isEmpty() || msg.number1 != TqConfCode::ConferenceStarted)
        return;
    emit started(msg.text1, msg.text2);
    refresh(List::Current);
    refresh(List::Scheduled);
}
