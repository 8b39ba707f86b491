#include "MeetingMembers.h"

#include "MeetingCodes.h"
#include "MeetingText.h"

TqMeetingMember TqMeetingMember::fromRecord(const Agent_MeetingMemberInfo &r)
{
    TqMeetingMember m;
    m.account = r.text3;
    m.name = r.text2;
    m.number = r.text1;
    m.state = r.number1;
    m.owner = r.number2 == TqMeetingCode::RoleCreator;
    m.option = r.number3;
    m.video = r.flag2;
    m.holdsMic = r.flag3;
    return m;
}

bool TqMeetingMember::isIn() const
{
    return state == TqMeetingCode::MemberJoined;
}

bool TqMeetingMember::operator==(const TqMeetingMember &o) const
{
    return account == o.account && name == o.name && number == o.number && state == o.state
        && owner == o.owner && option == o.option && video == o.video && holdsMic == o.holdsMic;
}

TqMeetingMemberModel::TqMeetingMemberModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int TqMeetingMemberModel::rowOf(const QString &account) const
{
    for (int i = 0; i < m_members.size(); ++i)
        if (m_members[i].account == account)
            return i;
    return -1;
}

TqMeetingMember TqMeetingMemberModel::member(const QString &account) const
{
    const int row = rowOf(account);
    if (row >= 0)
        return m_members[row];
    TqMeetingMember m;
    m.account = account;
    return m;
}

int TqMeetingMemberModel::joinedCount() const
{
    int n = 0;
    for (const TqMeetingMember &m : m_members)
        n += m.isIn() ? 1 : 0;
    return n;
}

void TqMeetingMemberModel::setMembers(const QList<TqMeetingMember> &members)
{
    // A list with an account twice would leave rows the others cannot find.
    QList<TqMeetingMember> unique;
    for (const TqMeetingMember &m : members) {
        if (m.account.isEmpty())
            continue;
        bool seen = false;
        for (TqMeetingMember &u : unique)
            if (u.account == m.account) {
                u = m;
                seen = true;
            }
        if (!seen)
            unique.append(m);
    }
    beginResetModel();
    m_members = unique;
    endResetModel();
}

void TqMeetingMemberModel::mergeMembers(const QList<TqMeetingMember> &current,
                                        const QSet<QString> &newer)
{
    QList<TqMeetingMember> all;
    for (const TqMeetingMember &c : current)
        all << (newer.contains(c.account) && contains(c.account) ? member(c.account) : c);
    for (TqMeetingMember m : qAsConst(m_members)) {
        bool listed = false;
        for (const TqMeetingMember &c : current)
            listed = listed || c.account == m.account;
        if (listed)
            continue;
        if (newer.contains(m.account)) {
            all.append(m);
            continue;
        }
        if (m.state == TqMeetingCode::MemberInvited || m.state == TqMeetingCode::MemberJoined)
            m.state = TqMeetingCode::MemberLeft;
        m.video = false;
        m.holdsMic = false;
        all.append(m);
    }
    setMembers(all);
}

void TqMeetingMemberModel::setMicHolder(const QString &account)
{
    for (int i = 0; i < m_members.size(); ++i) {
        const bool holds = !account.isEmpty() && m_members[i].account == account;
        if (m_members[i].holdsMic != holds) {
            m_members[i].holdsMic = holds;
            emit dataChanged(index(i), index(i));
        }
    }
}

void TqMeetingMemberModel::clear()
{
    beginResetModel();
    m_members.clear();
    endResetModel();
}

int TqMeetingMemberModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_members.size();
}

QVariant TqMeetingMemberModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_members.size())
        return QVariant();
    const TqMeetingMember &m = m_members[index.row()];
    switch (role) {
    case Qt::DisplayRole: {
        // What matters most first: the row may be cut short.
        QStringList details;
        if (m.holdsMic)
            details << TqMeetingText::tr("speaking");
        details << TqMeetingText::memberState(m.state);
        if (m.isIn())
            details << TqMeetingText::option(m.option);
        if (m.video && m.isIn())
            details << TqMeetingText::tr("video on");
        return QStringLiteral("%1\n%2").arg(TqMeetingText::memberName(m, m_own),
                                            details.join(QStringLiteral(" · ")));
    }
    case Qt::ToolTipRole:
        return m.account;
    case AccountRole:
        return m.account;
    case NameRole:
        return m.shownName();
    case StateRole:
        return m.state;
    case OwnerRole:
        return m.owner;
    case OptionRole:
        return m.option;
    case VideoRole:
        return m.video;
    case MicRole:
        return m.holdsMic;
    default:
        return QVariant();
    }
}
