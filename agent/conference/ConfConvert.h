#pragma once

// Conference records <-> engine entries and records. Member lists become arrays of fixed
// entries for one engine call; engine records become result records, read only up to each
// field's width, with null records and odd counts giving defaults and empty lists.

#include "ConfResultRecords.h"
#include "tq_agent_global.h"

#include <ZSsdk.h>

#include <QList>
#include <QString>

#include <memory>

namespace conf {

// Request list elements into entries; texts are cut to their fields.
TQ_AGENT_EXPORT void toEntry(const Agent_ConfNewMember &member, ConfMemberEntry &entry);
TQ_AGENT_EXPORT void toEntry(const Agent_ConfInviteMember &member,
                             ConfInviteEntry &entry); // number3 stays
TQ_AGENT_EXPORT void toEntry(const Agent_ConfKickMember &member,
                             ConfTargetEntry &entry); // deviceType: 0
TQ_AGENT_EXPORT void toEntry(const Agent_ConfRecordMemberInfo &member,
                             _ZSConferenceRecordMemberInfo &entry);
// A command goes to memberId with a device type of 0; a media control names the device type.
TQ_AGENT_EXPORT void toCommandEntry(const Agent_ConfTargetMember &member, ConfTargetEntry &entry);
TQ_AGENT_EXPORT void toMediaControlEntry(const Agent_ConfTargetMember &member,
                                         ConfTargetEntry &entry);

// The member array of one engine call: allocated zeroed, filled entry by entry from a list,
// released (delete[]) when the holder goes, after the call. An empty list is a null pointer
// and a count of 0.
template<class Entry> class EntryArray
{
public:
    template<class Element>
    explicit EntryArray(const QList<Element> &list)
        : EntryArray(list, [](const Element &e, Entry &entry) { toEntry(e, entry); })
    { }
    template<class Element, class Fill> EntryArray(const QList<Element> &list, Fill fill)
    {
        if (list.isEmpty())
            return;
        m_count = list.size();
        m_entries.reset(new Entry[std::size_t(m_count)]()); // every byte zero
        for (int i = 0; i < m_count; ++i)
            fill(list.at(i), m_entries[std::size_t(i)]);
    }
    EntryArray(const EntryArray &) = delete;
    EntryArray &operator=(const EntryArray &) = delete;

    const Entry *data() const { return m_entries.get(); }
    int count() const { return m_count; }

private:
    std::unique_ptr<Entry[]> m_entries;
    int m_count = 0;
};

// The topic a topic field stands for: the last "topic" of a {"topics": [...]} text; any
// other text, or no topics, is the topic itself.
TQ_AGENT_EXPORT QString topicOf(const QString &raw);

enum class JoinFields {
    Skip, // queries and lists leave text8 to text10, number16 and number17 default
    Read // the answer to joining
};
enum class Topic { Raw, Extracted };
// A null record gives a default one.
TQ_AGENT_EXPORT Agent_ConfInfo toConfInfo(const ZS_ConfInfo *info, JoinFields join, Topic topic);
TQ_AGENT_EXPORT Agent_ConfTargetMember toTargetMember(const ZS_ConfMemberInfo &member);
enum class DeviceType { Skip, Read };
TQ_AGENT_EXPORT Agent_ConferenceMemberInfo toMemberInfo(const ZS_ConfMemberInfo &member,
                                                        DeviceType device);
TQ_AGENT_EXPORT Agent_FaildConferenceMemberInfo toFailedMember(const ZS_ConfFailedMember &member);
TQ_AGENT_EXPORT Agent_ConfRecordFile toRecordFile(const ZS_ConfRecordFile &file);
TQ_AGENT_EXPORT Agent_ConfKickMember toKickMember(const ConfTargetEntry &member);
TQ_AGENT_EXPORT Agent_ConfNtyMember toNtyMember(const ZS_ConfNtyMember &member);
// Everything but the two member lists and their counts, which the callback reads (and logs).
TQ_AGENT_EXPORT Agent_ConfNtyMsg toNtyMsg(const ZS_ConfNotification &nty);
TQ_AGENT_EXPORT Agent_ConfInviteNtyMsg toInviteNty(const ZS_ConfInviteNotification *nty);
TQ_AGENT_EXPORT Agent_ConfAppointmentNtyMsg
toAppointmentNty(const ZS_ConfAppointmentNotification *nty);
TQ_AGENT_EXPORT Agent_ConfBeforeStartNtyMsg
toBeforeStartNty(const ZS_ConfReminderNotification *nty);
TQ_AGENT_EXPORT Agent_ConfBeforeEndNtyMsg toBeforeEndNty(const ZS_ConfReminderNotification *nty);
TQ_AGENT_EXPORT Agent_ConfEndNtyMsg toEndNty(const ZS_ConfEndNotification *nty);
TQ_AGENT_EXPORT Agent_ConfAppSetting toAppSetting(const ZS_ConfAppSetting *setting);

} // namespace conf
