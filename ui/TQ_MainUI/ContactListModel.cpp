#include "ContactListModel.h"

#include <TqPresence.h>

namespace {
constexpr int kSuccess = 200;
}

QString ContactListModel::Contact::displayName() const
{
    if (!profileName.isEmpty())
        return profileName;
    return serverName.isEmpty() ? user : serverName;
}

ContactListModel::ContactListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int ContactListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_contacts.size();
}

QVariant ContactListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_contacts.size())
        return QVariant();
    const Contact &c = m_contacts.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case DisplayNameRole:
        return c.displayName();
    case Qt::ToolTipRole:
        return tr("%1 (%2)\n%3")
            .arg(c.displayName(), c.user, TqPresence::wording(c.presence, c.subtype, c.note));
    case PresenceTextRole:
        return TqPresence::wording(c.presence, c.subtype, c.note);
    case UserRole:
        return c.user;
    case PresenceRole:
        return c.presence;
    case SignatureRole:
        return c.signature;
    case PresenceSubtypeRole:
        return c.subtype;
    case PresenceNoteRole:
        return c.note;
    case ShortNumberRole:
        return c.shortNumber;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> ContactListModel::roleNames() const
{
    return {{UserRole, "user"},
            {DisplayNameRole, "displayName"},
            {PresenceRole, "presence"},
            {SignatureRole, "signature"},
            {PresenceSubtypeRole, "presenceSubtype"},
            {PresenceNoteRole, "presenceNote"},
            {ShortNumberRole, "shortNumber"},
            {PresenceTextRole, "presenceText"}};
}

void ContactListModel::setOwnAccount(const QString &account)
{
    m_own = account;
    const int row = rowOf(account);
    if (row >= 0) {
        beginRemoveRows(QModelIndex(), row, row);
        m_contacts.remove(row);
        endRemoveRows();
    }
}

QStringList ContactListModel::users() const
{
    QStringList result;
    result.reserve(m_contacts.size());
    for (const Contact &c : m_contacts)
        result << c.user;
    return result;
}

int ContactListModel::rowOf(const QString &user) const
{
    for (int row = 0; row < m_contacts.size(); ++row) {
        if (m_contacts.at(row).user == user)
            return row;
    }
    return -1;
}

void ContactListModel::clear()
{
    if (m_contacts.isEmpty())
        return;
    beginResetModel();
    m_contacts.clear();
    endResetModel();
}

bool ContactListModel::apply(const Agent_PersonState &state, bool mayAdd)
{
    const QString &user = state.text1;
    if (user.isEmpty() || user == m_own)
        return false;
    int row = rowOf(user);
    const bool adding = row < 0;
    if (adding && !mayAdd)
        return false;
    if (adding) {
        row = m_contacts.size();
        beginInsertRows(QModelIndex(), row, row);
        Contact c;
        c.user = user;
        m_contacts.append(c);
    }
    Contact &c = m_contacts[row];
    if (!state.text2.isEmpty())
        c.serverName = state.text2;
    if (!state.text3.isEmpty() && c.shortNumber.isEmpty())
        c.shortNumber = state.text3;
    c.note = state.text4;
    c.presence = state.number1;
    c.subtype = state.number2;
    if (adding) {
        endInsertRows();
    } else {
        const QModelIndex at = index(row);
        emit dataChanged(at, at);
    }
    return adding;
}

void ContactListModel::onFriendsPresence(const QList<Agent_PersonState> &states)
{
    QStringList added;
    for (const Agent_PersonState &state : states) {
        if (apply(state, true))
            added << state.text1;
    }
    if (!added.isEmpty())
        emit contactsAdded(added);
}

void ContactListModel::onUserStates(int reason, const QList<Agent_PersonState> &states)
{
    if (reason != kSuccess)
        return;
    for (const Agent_PersonState &state : states)
        apply(state, false);
}

void ContactListModel::applyProfile(const TqPersonProfile &profile)
{
    const int row = rowOf(profile.user);
    if (row < 0)
        return;
    Contact &c = m_contacts[row];
    c.profileName = profile.displayName;
    c.shortNumber = profile.shortNumber;
    c.signature = profile.signature;
    const QModelIndex at = index(row);
    emit dataChanged(at, at);
}

// ---- ContactFilterModel -----------------------------------------------------------------------

ContactFilterModel::ContactFilterModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
    sort(0);
}

void ContactFilterModel::setSearchText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_search)
        return;
    m_search = trimmed;
    invalidateFilter();
}

bool ContactFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_search.isEmpty())
        return true;
    const QModelIndex at = sourceModel()->index(sourceRow, 0, sourceParent);
    for (const int role : {int(ContactListModel::UserRole), int(ContactListModel::DisplayNameRole),
                           int(ContactListModel::ShortNumberRole)}) {
        if (at.data(role).toString().contains(m_search, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool ContactFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const int leftRank = TqPresence::rank(left.data(ContactListModel::PresenceRole).toInt());
    const int rightRank = TqPresence::rank(right.data(ContactListModel::PresenceRole).toInt());
    if (leftRank != rightRank)
        return leftRank < rightRank;
    const int byName
        = QString::localeAwareCompare(left.data(ContactListModel::DisplayNameRole).toString(),
                                      right.data(ContactListModel::DisplayNameRole).toString());
    if (byName != 0)
        return byName < 0;
    return left.data(ContactListModel::UserRole).toString()
        < right.data(ContactListModel::UserRole).toString();
}
