#pragma once

// The record a group notice's detail pointer leads to, laid out for its type as ZSsdk.h gives
// it. Header-only, for the engines that answer onReceiveGroupNoticeMessage (the stand-in and
// the XMPP engine); the agents read these records, they never build them.

#include "Utf8Field.h"
#include "ZSsdk.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

namespace tq {

struct GroupNoticeFields
{
    int type = 0;
    QString groupId;
    QString groupName;
    QString sender; // who acted
    QString member; // whom it concerns
    QString extraText1;
    QString extraText2;
    int extraValue = 0;
    QString modifyDic; // type 11
    QList<std::pair<QString, QString>> members; // type 12: account, display name
};

namespace detail {

template<std::size_t N> void putField(char (&field)[N], const QString &value)
{
    const QByteArray bytes = value.toUtf8();
    copyUtf8Field(field, N, bytes.constData(), std::size_t(bytes.size()));
}

// A zeroed record at the start of `bytes`, which comes from the allocator and so is suitably
// aligned; `extra` bytes follow it.
template<class Record> Record &recordIn(std::vector<char> &bytes, std::size_t extra = 0)
{
    bytes.assign(sizeof(Record) + extra, 0);
    return *reinterpret_cast<Record *>(bytes.data());
}

template<class Record>
void fillHeader(Record &r, const GroupNoticeFields &n, const QString &dateCreated)
{
    putField(r.sender, n.sender);
    putField(r.groupId, n.groupId);
    putField(r.groupName, n.groupName);
    putField(r.dateCreated, dateCreated);
    putField(r.member, n.member);
}

} // namespace detail

// The detail record of the notice, dated `dateCreated` ("yyyy-MM-dd hh:mm:ss").
inline std::vector<char> groupNoticeBytes(const GroupNoticeFields &n, const QString &dateCreated)
{
    using detail::fillHeader;
    using detail::putField;
    using detail::recordIn;
    std::vector<char> bytes;
    switch (n.type) {
    case ZS_GROUP_NOTICE_REQUEST_JOIN: {
        auto &r = recordIn<ZS_GroupJoinRequestNotice>(bytes);
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        putField(r.extraText2, n.extraText2);
        r.extraValue = n.extraValue;
        break;
    }
    case ZS_GROUP_NOTICE_INVITE: {
        auto &r = recordIn<ZS_GroupInviteNotice>(bytes);
        r.noticeType = n.type;
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        putField(r.extraText2, n.extraText2);
        break;
    }
    case ZS_GROUP_NOTICE_MEMBER_JOINED: {
        auto &r = recordIn<ZS_GroupMemberJoinedNotice>(bytes);
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        putField(r.extraText2, n.extraText2);
        break;
    }
    case ZS_GROUP_NOTICE_DISMISSED: {
        auto &r = recordIn<ZS_GroupDismissNotice>(bytes);
        putField(r.sender, n.sender);
        putField(r.groupId, n.groupId);
        putField(r.groupName, n.groupName);
        putField(r.dateCreated, dateCreated);
        break;
    }
    case ZS_GROUP_NOTICE_REPLY_REQUEST:
    case ZS_GROUP_NOTICE_REPLY_INVITE: {
        auto &r = recordIn<ZS_GroupReplyNotice>(bytes);
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        putField(r.extraText2, n.extraText2);
        r.extraValue = n.extraValue;
        break;
    }
    case ZS_GROUP_NOTICE_ROLE: {
        auto &r = recordIn<ZS_GroupRoleNotice>(bytes);
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        r.extraValue = n.extraValue;
        break;
    }
    case ZS_GROUP_NOTICE_MEMBER_INFO: {
        auto &r = recordIn<ZS_GroupMemberInfoNotice>(bytes);
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        putField(r.modifyDic, n.modifyDic);
        break;
    }
    case ZS_GROUP_NOTICE_JOINED: {
        const std::size_t count = std::size_t(n.members.size());
        auto &r = recordIn<ZS_GroupJoinNotice>(bytes, count * sizeof(ZS_GroupNoticeMember));
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        r.memberCount = int(count);
        auto *entries = reinterpret_cast<ZS_GroupNoticeMember *>(bytes.data() + sizeof r);
        for (std::size_t i = 0; i < count; ++i) {
            putField(entries[i].member, n.members[int(i)].first);
            putField(entries[i].memberText, n.members[int(i)].second);
        }
        break;
    }
    default: { // 4, 5 and 8: the header alone
        auto &r = recordIn<ZS_GroupNoticeHeader>(bytes);
        fillHeader(r, n, dateCreated);
        putField(r.extraText1, n.extraText1);
        break;
    }
    }
    return bytes;
}

} // namespace tq
