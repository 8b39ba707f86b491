#include "AppCatalog.h"

#include <TqClientContext.h>

namespace {
// Each feature's agent, as the agent library names its family headers.
#if __has_include(<IM_Agent.h>)
constexpr bool kMessages = true;
#else
constexpr bool kMessages = false;
#endif
#if __has_include(<Voip_Agent.h>)
constexpr bool kCalls = true;
#else
constexpr bool kCalls = false;
#endif
#if __has_include(<Conference_Agent.h>)
constexpr bool kConferences = true;
#else
constexpr bool kConferences = false;
#endif
#if __has_include(<Meeting_Agent.h>)
constexpr bool kMeetings = true;
#else
constexpr bool kMeetings = false;
#endif
#if __has_include(<WhiteBoard_Agent.h>)
constexpr bool kWhiteBoard = true;
#else
constexpr bool kWhiteBoard = false;
#endif
#if __has_include(<Vidyo_Agent.h>)
constexpr bool kRoomVideo = true;
#else
constexpr bool kRoomVideo = false;
#endif
} // namespace

AppCatalog::AppCatalog(QObject *parent)
    : QAbstractListModel(parent)
    , m_features(features())
{ }

QVector<AppCatalog::Feature> AppCatalog::features()
{
    const auto h = [](const char *name) {
        return QString::fromLatin1(name);
    };
    return {
        {TqFeature::messages(), tr("Messages"), tr("Chats, files and voice notes"), h("IM_Agent.h"),
         kMessages},
        {TqFeature::groups(), tr("Groups"), tr("Group chats and their members"), h("IM_Agent.h"),
         kMessages},
        {TqFeature::calls(), tr("Calls"), tr("Voice and video calls with your contacts"),
         h("Voip_Agent.h"), kCalls},
        {TqFeature::conferences(), tr("Conferences"), tr("Calls with several people at once"),
         h("Conference_Agent.h"), kConferences},
        {TqFeature::meetings(), tr("Meetings"), tr("Scheduled meetings and their invitations"),
         h("Meeting_Agent.h"), kMeetings},
        {TqFeature::whiteBoard(), tr("Whiteboard"), tr("Draw together in real time"),
         h("WhiteBoard_Agent.h"), kWhiteBoard},
        {TqFeature::roomVideo(), tr("Room video"), tr("Video rooms for teams"), h("Vidyo_Agent.h"),
         kRoomVideo},
    };
}

int AppCatalog::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_features.size();
}

QVariant AppCatalog::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_features.size())
        return QVariant();
    const Feature &f = m_features.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return f.available ? tr("%1\n%2").arg(f.name, f.summary)
                           : tr("%1 (coming later)\n%2").arg(f.name, f.summary);
    case Qt::ToolTipRole:
        return f.available ? tr("Open %1").arg(f.name)
                           : tr("%1 is not in this version yet.").arg(f.name);
    case IdRole:
        return f.id;
    case NameRole:
        return f.name;
    case SummaryRole:
        return f.summary;
    case AvailableRole:
        return f.available;
    case AgentRole:
        return f.agentHeader;
    case StatusRole:
        return f.available ? QString() : tr("Coming later");
    default:
        return QVariant();
    }
}

Qt::ItemFlags AppCatalog::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_features.size())
        return Qt::NoItemFlags;
    return m_features.at(index.row()).available ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                                : Qt::NoItemFlags;
}
