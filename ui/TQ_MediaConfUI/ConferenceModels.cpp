#include "ConferenceModels.h"

#include "ConferenceCodes.h"

#include <TqEngineText.h>

using namespace TqConfCode;

// ---- words --------------------------------------------------------------------------------------

QString TqConfText::when(const TqConfSummary &c)
{
    const auto at = [](const QDateTime &t) {
        return TqConfText::time(t);
    };
    if (c.state == Ended && c.ended.isValid())
        return tr("Ended %1").arg(at(c.ended));
    if (c.state == InProgress && c.started.isValid())
        return tr("Since %1").arg(at(c.started));
    if (c.plannedStart.isValid())
        return tr("Starts %1").arg(at(c.plannedStart));
    return QString();
}

QString TqConfText::time(const QDateTime &t)
{
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd hh:mm")) : QString();
}

QString TqConfText::state(const TqConfSummary &c)
{
    switch (c.state) {
    case NotStarted:
        return tr("Not started");
    case InProgress:
        return tr("In progress");
    case Ended:
        return tr("Ended");
    default:
        return QString();
    }
}

QString TqConfText::role(const TqConfMember &m)
{
    return m.isHost() ? tr("Host") : tr("Attendee");
}

QString TqConfText::memberState(const TqConfMember &m)
{
    switch (m.state) {
    case Invited:
        return tr("Invited");
    case Joined:
        return tr("In conference");
    case Left:
        return tr("Left");
    case Declined:
        return tr("Declined");
    case Removed:
        return tr("Removed");
    default:
        return QString();
    }
}

QString TqConfText::microphone(const TqConfMember &m)
{
    if (m.has(MicrophoneMuted))
        return tr("Muted by host");
    if (!m.isIn())
        return QString();
    return m.has(PublishingVoice) ? tr("On") : tr("Off");
}

QString TqConfText::camera(const TqConfMember &m)
{
    if (m.has(CameraTurnedOff))
        return tr("Off by host");
    if (!m.isIn())
        return QString();
    return m.has(PublishingVideo) ? tr("On") : tr("Off");
}

QString TqConfText::duration(int seconds)
{
    const int s = qMax(0, seconds);
    return s >= 3600 ? QStringLiteral("%1:%2:%3")
                           .arg(s / 3600)
                           .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                           .arg(s % 60, 2, 10, QLatin1Char('0'))
                     : QStringLiteral("%1:%2")
                           .arg(s / 60, 2, 10, QLatin1Char('0'))
                           .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString TqConfText::failure(const QString &what, int reason)
{
    return tr("%1 failed: %2").arg(what, TqEngineText::error(reason));
}

// ---- the conference lists -----------------------------------------------------------------------

TqConfListModel::TqConfListModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

void TqConfListModel::setConferences(const QList<TqConfSummary> &list)
{
    bool sameRows = list.size() == m_list.size();
    for (int i = 0; sameRows && i < list.size(); ++i)
        sameRows = list[i].id == m_list[i].id;
    if (sameRows) {
        m_list = list;
        if (!list.isEmpty())
            emit dataChanged(index(0, 0), index(list.size() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_list = list;
    endResetModel();
}

int TqConfListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.size();
}

int TqConfListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TqConfListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_list.size())
        return QVariant();
    const TqConfSummary &c = m_list.at(index.row());
    if (role == IdRole)
        return c.id;
    if (role == Qt::ToolTipRole)
        return c.topic.isEmpty() ? c.name : tr("%1\nTopic: %2").arg(c.name, c.topic);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case NameColumn:
        return c.media == Video ? tr("%1 (video)").arg(c.name) : c.name;
    case WhenColumn:
        return c.state == InProgress ? tr("%1 · %2").arg(TqConfText::state(c), TqConfText::when(c))
                                     : TqConfText::when(c);
    case HostColumn:
        return c.creatorName.isEmpty() ? c.creator : c.creatorName;
    case MembersColumn:
        return c.state == InProgress ? tr("%1 of %2").arg(c.joinedCount).arg(c.memberCount)
                                     : QString::number(c.memberCount);
    default:
        return QVariant();
    }
}

QVariant TqConfListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case NameColumn:
        return tr("Conference");
    case WhenColumn:
        return tr("When");
    case HostColumn:
        return tr("Host");
    case MembersColumn:
        return tr("Members");
    default:
        return QVariant();
    }
}

// ---- the members ------------------------------------------------------------------------------

TqConfMemberModel::TqConfMemberModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

void TqConfMemberModel::setMembers(const QList<TqConfMember> &members, const QString &self)
{
    bool sameRows = members.size() == m_members.size() && self == m_self;
    for (int i = 0; sameRows && i < members.size(); ++i)
        sameRows = members[i].id == m_members[i].id;
    if (sameRows) {
        m_members = members;
        if (!members.isEmpty())
            emit dataChanged(index(0, 0), index(members.size() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_members = members;
    m_self = self;
    endResetModel();
}

int TqConfMemberModel::rowOf(const QString &id) const
{
    for (int i = 0; i < m_members.size(); ++i)
        if (m_members[i].id == id)
            return i;
    return -1;
}

int TqConfMemberModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_members.size();
}

int TqConfMemberModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TqConfMemberModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_members.size())
        return QVariant();
    const TqConfMember &m = m_members.at(index.row());
    if (role == IdRole)
        return m.id;
    if (role == Qt::ToolTipRole)
        return m.id;
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case NameColumn:
        return m.id == m_self ? tr("%1 (you)").arg(m.shownName()) : m.shownName();
    case RoleColumn:
        return TqConfText::role(m);
    case StateColumn:
        return TqConfText::memberState(m);
    case MicrophoneColumn:
        return TqConfText::microphone(m);
    case CameraColumn:
        return TqConfText::camera(m);
    case ScreenColumn:
        return m.has(SharingScreen) ? tr("Sharing") : QString();
    default:
        return QVariant();
    }
}

QVariant TqConfMemberModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case NameColumn:
        return tr("Member");
    case RoleColumn:
        return tr("Role");
    case StateColumn:
        return tr("State");
    case MicrophoneColumn:
        return tr("Microphone");
    case CameraColumn:
        return tr("Camera");
    case ScreenColumn:
        return tr("Screen");
    default:
        return QVariant();
    }
}
