// The conference records: describing texts (passwords masked), registered names, the member
// entries handed to the engine, and the engine records read back.

#include "ConfTestSupport.h"

#include <ConfConvert.h>
#include <TextCache.h>

#include <QTemporaryFile>

#include <cstdio>
#include <functional>
#include <unistd.h>

using Describe = std::function<QString()>;
Q_DECLARE_METATYPE(Describe)

namespace {

template<class T> QByteArray entryBytes(const T &entry, int from, int size)
{
    return bytesOf(entry).mid(from, size);
}

template<class T> int intAt(const T &entry, int offset)
{
    int value = 0;
    std::memcpy(&value, reinterpret_cast<const char *>(&entry) + offset, sizeof value);
    return value;
}

// Runs `fn` with standard output going to a file; returns what it wrote.
QByteArray capturedStdout(const std::function<void()> &fn)
{
    QTemporaryFile file;
    if (!file.open())
        return "cannot capture";
    std::fflush(stdout);
    const int saved = dup(fileno(stdout));
    dup2(file.handle(), fileno(stdout));
    fn();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    file.seek(0);
    return file.readAll();
}

Agent_ConfTargetMember target(const QString &id, int number1, int deviceType)
{
    Agent_ConfTargetMember m;
    m.memberId = id;
    m.number1 = number1;
    m.deviceType = deviceType;
    m.text2 = QStringLiteral("not sent");
    return m;
}

} // namespace

class TestConfRecords : public QObject
{
    Q_OBJECT

private slots:
    void describingTexts_data()
    {
        QTest::addColumn<Describe>("describe");
        QTest::addColumn<QString>("expected");

        QTest::newRow("create")
            << Describe([] {
                   Agent_RequestCreateConf r;
                   r.ownerPassword = "owner-pw";
                   r.password = "join-pw";
                   r.confName = "Weekly";
                   r.confType = 2;
                   r.maxMemberCount = 10;
                   r.voiceMode = 3;
                   r.appData = "app";
                   r.autoClose = 1;
                   r.moderator = "bob";
                   r.startTime = "2024-05-06 10:00:00";
                   r.members = {Agent_ConfNewMember{"carol", 0, 0, "", ""}};
                   r.duration = 60;
                   r.sendInvitation = 1;
                   r.extraInt1 = 77;
                   r.remindBeforeStart = 10;
                   r.remindBeforeEnd = 5;
                   r.mediaType = 2;
                   r.extraInt2 = 78;
                   r.confTopic = "Plans";
                   r.joinState = 4;
                   r.extraText = "never logged";
                   r.jsonString = "{}";
                   return r.toLogString();
               })
            << "ownerPassword=******,password=******,confName=Weekly,confType=2,maxMemberCount=10,"
               "voiceMode=3,appData=app,autoClose=1,moderator=bob,startTime=2024-05-06 10:00:00,"
               "duration=60,sendInvitation=1,remindBeforeStart=10,remindBeforeEnd=5,mediaType=2,"
               "confTopic=Plans,joinState=4,jsonString={}";
        QTest::newRow("delete") << Describe([] {
            return Agent_RequestDeleteConf{"c1", "app", "{}"}.toLogString();
        }) << "confId=c1,appData=app,jsonString={}";
        QTest::newRow("update")
            << Describe([] {
                   Agent_RequestUpdateConf r;
                   r.confId = "c1";
                   r.ownerPassword = "o";
                   r.confName = "N";
                   r.confType = 1;
                   r.maxMember = 9;
                   r.voiceMode = 2;
                   r.appData = "a";
                   r.autoClose = 1;
                   r.moderator = "m";
                   r.startTime = "s";
                   r.duration = 30;
                   r.sendInvitation = 1;
                   r.remindBeforeStart = 4;
                   r.remindBeforeEnd = 3;
                   r.extraInt1 = 99;
                   r.extraInt2 = 98;
                   r.confTopic = "t";
                   r.joinState = 2;
                   r.jsonString = "j";
                   return r.toLogString();
               })
            << "confId=c1,ownerPassword=******,password=,confName=N,confType=1,maxMember=9,"
               "voiceMode=2,appData=a,autoClose=1,moderator=m,startTime=s,duration=30,"
               "sendInvitation=1,remindBeforeStart=4,remindBeforeEnd=3,confTopic=t,joinState=2,"
               "jsonString=j";
        QTest::newRow("getInfo") << Describe([] {
            return Agent_RequestGetConfInfo{"c1", "j"}.toLogString();
        }) << "confId=c1,jsonString=j";
        QTest::newRow("infoList")
            << Describe([] {
                   return Agent_RequestGetConfInfoList{"b", "e", "m", 1, 2, 3, 4, 5, 6, 7, "x", "j"}
                       .toLogString();
               })
            << "createTimeBegin=b,createTimeEnd=e,memberId=m,memberIdType=1,confType=2,"
               "searchById=3,pageNo=4,pageSize=5,jsonString=j";
        QTest::newRow("historyList")
            << Describe([] {
                   return Agent_RequestGetHistoryConfInfoList{"b", "e", 1, 2,   3,  4,
                                                              "x", 5,   6, "y", "j"}
                       .toLogString();
               })
            << "createTimeBegin=b,createTimeEnd=e,confType=1,searchByMember=2,pageNo=3,"
               "pageSize=4,jsonString=j";
        QTest::newRow("lock default")
            << Describe([] { return Agent_RequestLockConf().toLogString(); })
            << "confId=,bLock=0,jsonString=";
        QTest::newRow("lock") << Describe([] {
            return Agent_RequestLockConf{"c1", true, "j"}.toLogString();
        }) << "confId=c1,bLock=1,jsonString=j";
        QTest::newRow("join")
            << Describe([] {
                   return Agent_RequestMemberJoinConf{"c1", "pw", "Ann", "bob", 1,    "a",
                                                      2,    3,    "+86", 4,     "UA", "j"}
                       .toLogString();
               })
            << "confId=c1,password=******,userName=Ann,inviter=bob,inviterIdType=1,appData=a,"
               "mediaType=2,roleId=3,phoneNumber=+86,joinState=4,terminalUA=UA,jsonString=j";
        QTest::newRow("quit") << Describe([] {
            return Agent_RequestMemberQuitConf{"c1", "a", "j"}.toLogString();
        }) << "confId=c1,appData=a,jsonString=j";
        QTest::newRow("updateMember") << Describe([] {
            return Agent_RequestUpdateConfMember{"c1", "m", "u", 2, "a", "j", 9}.toLogString();
        }) << "confId=c1,memberId=m,userName=u,idType=2,appData=a,jsonString=j";
        QTest::newRow("memberInfo") << Describe([] {
            return Agent_RequestGetConfMemberInfo{"c1", "m", 2, "j"}.toLogString();
        }) << "confId=c1,memberId=m,idType=2,jsonString=j";
        QTest::newRow("memberList") << Describe([] {
            return Agent_RequestGetConfMemberInfoList{"c1", 2, 3, "j"}.toLogString();
        }) << "confId=c1,pageNo=2,pageSize=3,jsonString=j";
        // The keys come in the order the format writes them.
        QTest::newRow("historyMembers") << Describe([] {
            return Agent_RequestGetHistoryConferenceMemberInfoList{"c1", "m", 1, 2, 3, 4, "j"}
                .toLogString();
        }) << "confId=c1,memberId=m,memberIdType=1,pageNo=2,pageSize=3,jsonString=j";
        QTest::newRow("invite three") << Describe([] {
            Agent_RequestConfInviteMember r;
            r.inviteMembers
                = {Agent_ConfInviteMember(), Agent_ConfInviteMember(), Agent_ConfInviteMember()};
            return r.toLogString();
        }) << "confId=,callImmediately=0,appData=,jsonString=,inviteMembers:total=3,";
        QTest::newRow("reject") << Describe([] {
            return Agent_RequestConfMemberRejectInvitation{"c1", "inv-1", "busy", "j"}
                .toLogString();
        }) << "confId=c1,invitationId=inv-1,jsonString=j";
        QTest::newRow("kickout") << Describe([] {
            return Agent_RequestConfKickoutMember{
                "c1", {Agent_ConfKickMember{"bob", 0, 1}}, "a", "j", 5}
                .toLogString();
        }) << "confId=c1,appData=a,jsonString=j";
        QTest::newRow("role") << Describe([] {
            return Agent_RequestSetConfMemberRole{"c1", "m", 1, 2, "a", "j"}.toLogString();
        }) << "confId=c1,memberId=m,memberIdType=1,roleId=2,appData=a,jsonString=j";
        QTest::newRow("sendCmd") << Describe([] {
            return Agent_RequestConfSendCmd{"c1", 1, {}, "hand", "j"}.toLogString();
        }) << "confId=c1,bAllMember=1,cmdData=hand,jsonString=j";
        QTest::newRow("mediaControl") << Describe([] {
            return Agent_RequestConfMediaControl{"c1", 1, 0, {}, 3, "a", "j"}.toLogString();
        }) << "confId=c1,unchangable=1,bAllMember=0,action=3,appData=a,jsonString=j";
        QTest::newRow("record") << Describe([] {
            return Agent_RequestConfRecord{"c1", {}, 1, "j"}.toLogString();
        }) << "confId=c1,action=1,jsonString=j";
        QTest::newRow("recordList") << Describe([] {
            return Agent_RequestConfRecordList{"c1", 1, 2, 3}.toLogString();
        }) << "confId=c1,historyConf=1,pageNo=2,pageSize=3";
        QTest::newRow("startVideo") << Describe([] {
            return Agent_RequestConfStartPublishVideo{"c1", "j"}.toLogString();
        }) << "confId=c1,jsonString=j";
        QTest::newRow("stopVideo") << Describe([] {
            return Agent_RequestConfStopPublishVideo{"c1", "j"}.toLogString();
        }) << "confId=c1,jsonString=j";
        QTest::newRow("startScreen") << Describe([] {
            return Agent_RequestConfStartScreenSharing{"c1", "j"}.toLogString();
        }) << "confId=c1,jsonString=j";
        QTest::newRow("stopScreen") << Describe([] {
            return Agent_RequestConfStopScreenSharing{"c1", "j"}.toLogString();
        }) << "confId=c1,jsonString=j";
        QTest::newRow("startVoice") << Describe([] {
            return Agent_RequestConfStartPublishVoice{"c1", 7, "j"}.toLogString();
        }) << "confId=c1,jsonString=j";
        QTest::newRow("stopVoice") << Describe([] {
            return Agent_RequestConfStopPublishVoice{"c1", 7, "j"}.toLogString();
        }) << "confId=c1,jsonString=j";
        QTest::newRow("requestVideo")
            << Describe([] {
                   return Agent_RequestConfRequestMemberVideo{"c1", "pw", "bob", 0x10, 1,
                                                              640,  480,  "j",   9}
                       .toLogString();
               })
            << "confId=c1,confPasswd=******,member=bob,mediaSourceType=1,width=640,height=480,"
               "jsonString=j";
        QTest::newRow("cancelVideo") << Describe([] {
            return Agent_RequestConfCancelMemberVideo{"c1", "", "bob", 2, "j", 9}.toLogString();
        }) << "confId=c1,confPasswd=,member=bob,mediaSourceType=2,jsonString=j";
        QTest::newRow("resetView") << Describe([] {
            return Agent_RequestConfResetMemberView{"c1", "bob", 0x20, 1, 320, 240, "j", 9}
                .toLogString();
        }) << "confId=c1,member=bob,mediaSourceType=1,width:=320,height=240,jsonString=j";
    }

    void describingTexts()
    {
        QFETCH(Describe, describe);
        QFETCH(QString, expected);
        QCOMPARE(describe(), expected);
    }

    void noPasswordInAnyText()
    {
        Agent_RequestMemberJoinConf join;
        join.password = "s3cret";
        Agent_RequestCreateConf create;
        create.ownerPassword = "s3cret";
        create.password = "s3cret";
        Agent_RequestConfCancelMemberVideo cancel;
        cancel.confPasswd = "s3cret";
        for (const QString &text :
             {join.toLogString(), create.toLogString(), cancel.toLogString()}) {
            QVERIFY2(!text.contains("s3cret"), qPrintable(text));
            QVERIFY(text.contains("******"));
        }
        QVERIFY(join.toLogString().contains("password=******,"));
        QVERIFY(Agent_RequestMemberJoinConf().toLogString().contains("password=,"));
    }

    // Each placeholder is filled once: a value holding "%2" stays as it is.
    void placeholdersInValuesStay()
    {
        QCOMPARE((Agent_RequestLockConf{"%2", true, "%1"}.toLogString()),
                 QString("confId=%2,bLock=1,jsonString=%1"));
        QCOMPARE((Agent_RequestConfRecordList{"%4", 1, 2, 3}.toLogString()),
                 QString("confId=%4,historyConf=1,pageNo=2,pageSize=3"));
    }

    void registeredUnderTheirNames()
    {
        for (const char *name : {"Agent_RequestCreateConf",
                                 "Agent_RequestDeleteConf",
                                 "Agent_RequestUpdateConf",
                                 "Agent_RequestGetConfInfo",
                                 "Agent_RequestGetConfInfoList",
                                 "Agent_RequestGetHistoryConfInfoList",
                                 "Agent_RequestLockConf",
                                 "Agent_RequestMemberJoinConf",
                                 "Agent_RequestMemberQuitConf",
                                 "Agent_RequestUpdateConfMember",
                                 "Agent_RequestGetConfMemberInfo",
                                 "Agent_RequestGetConfMemberInfoList",
                                 "Agent_RequestGetHistoryConferenceMemberInfoList",
                                 "Agent_RequestConfInviteMember",
                                 "Agent_RequestConfMemberRejectInvitation",
                                 "Agent_RequestConfKickoutMember",
                                 "Agent_RequestSetConfMemberRole",
                                 "Agent_RequestConfSendCmd",
                                 "Agent_RequestConfMediaControl",
                                 "Agent_ConfRecordMemberInfo",
                                 "Agent_RequestConfRecord",
                                 "Agent_RequestConfRecordList",
                                 "Agent_RequestConfStartPublishVideo",
                                 "Agent_RequestConfStopPublishVideo",
                                 "Agent_RequestConfStartScreenSharing",
                                 "Agent_RequestConfStopScreenSharing",
                                 "Agent_RequestConfStartPublishVoice",
                                 "Agent_RequestConfStopPublishVoice",
                                 "Agent_RequestConfRequestMemberVideo",
                                 "Agent_RequestConfCancelMemberVideo",
                                 "Agent_RequestConfResetMemberView",
                                 "Agent_ConfInfo",
                                 "QList<Agent_ConfInfo>",
                                 "Agent_ConferenceMemberInfo",
                                 "QList<Agent_ConferenceMemberInfo>",
                                 "Agent_FaildConferenceMemberInfo",
                                 "QList<Agent_FaildConferenceMemberInfo>",
                                 "Agent_ConfRecordFile",
                                 "QList<Agent_ConfRecordFile>",
                                 "Agent_ConfNtyMsg",
                                 "Agent_ConfInviteNtyMsg",
                                 "Agent_ConfAppointmentNtyMsg",
                                 "Agent_ConfBeforeStartNtyMsg",
                                 "Agent_ConfBeforeEndNtyMsg",
                                 "Agent_ConfEndNtyMsg",
                                 "Agent_ConfAppSetting"})
            QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);
        QCOMPARE(QMetaType::typeName(qMetaTypeId<Agent_RequestConfStartPublishVideo>()),
                 "Agent_RequestConfStartPublishVideo");
    }

    // ---- member entries
    // --------------------------------------------------------------------------

    void memberEntriesAreFilledInOrder()
    {
        const QList<Agent_ConfNewMember> list{{"bob", 1, 2, "Bob Li", "+86 10"},
                                              {"carol", 3, 4, "", ""}};
        const conf::EntryArray<ConfMemberEntry> entries(list);
        QCOMPARE(entries.count(), 2);
        const ConfMemberEntry &e = entries.data()[0];
        QCOMPARE(entryBytes(e, 0, 4), QByteArray("bob\0", 4));
        QCOMPARE(intAt(e, 260), 1);
        QCOMPARE(intAt(e, 264), 2);
        QCOMPARE(entryBytes(e, 268, 7), QByteArray("Bob Li\0", 7));
        QCOMPARE(entryBytes(e, 525, 7), QByteArray("+86 10\0", 7));
        QCOMPARE(entryBytes(e, 782, 2), QByteArray(2, '\0'));
        QCOMPARE(intAt(entries.data()[1], 264), 4);
    }

    void emptyListIsNullAndZero()
    {
        const conf::EntryArray<ConfMemberEntry> entries{QList<Agent_ConfNewMember>()};
        QVERIFY(!entries.data());
        QCOMPARE(entries.count(), 0);
    }

    // Texts longer than their fields are cut at a character boundary; nothing is written
    // past the field, nor into the next entry.
    void longTextsAreCutInsideTheirFields()
    {
        const QString longId = QString(258, 'a') + QString::fromUtf8("é") + "tail"; // é: 2 bytes
        const QString longName = QString(255, 'b') + QString::fromUtf8("中文");
        const QList<Agent_ConfNewMember> list{{longId, 7, 8, longName, QString(400, 'c')},
                                              {"next", 9, 10, "", ""}};
        const conf::EntryArray<ConfMemberEntry> entries(list);
        const ConfMemberEntry &e = entries.data()[0];
        QCOMPARE(tq::readField(e.text1), QString(258, 'a'));
        QCOMPARE(e.text1[259], '\0');
        QCOMPARE(intAt(e, 260), 7);
        QCOMPARE(tq::readField(e.text2), QString(255, 'b'));
        QCOMPARE(tq::readField(e.text3), QString(256, 'c'));
        QCOMPARE(tq::readField(entries.data()[1].text1), QString("next"));
    }

    void inviteEntriesLeaveTheirLastSixBytesZero()
    {
        Agent_ConfInviteMember m{"bob", 1, 2, "Bob", "+86", -1};
        const conf::EntryArray<ConfInviteEntry> entries(QList<Agent_ConfInviteMember>{m, m});
        QCOMPARE(sizeof(ConfInviteEntry), std::size_t(788));
        for (int i = 0; i < 2; ++i)
            QCOMPARE(entryBytes(entries.data()[i], 782, 6), QByteArray(6, '\0'));
        QCOMPARE(intAt(entries.data()[0], 264), 2);
    }

    // A removal and a command carry 0 in their second integer; a media control the device.
    void targetEntries()
    {
        const conf::EntryArray<ConfTargetEntry> kick(
            QList<Agent_ConfKickMember>{Agent_ConfKickMember{"bob", 3, 2}});
        QCOMPARE(tq::readField(kick.data()[0].text1), QString("bob"));
        QCOMPARE(kick.data()[0].number1, 3);
        QCOMPARE(kick.data()[0].deviceType, 0);
        const QList<Agent_ConfTargetMember> targets{target("carol", 4, 2)};
        const conf::EntryArray<ConfTargetEntry> command(targets, conf::toCommandEntry);
        QCOMPARE(command.data()[0].number1, 4);
        QCOMPARE(command.data()[0].deviceType, 0);
        const conf::EntryArray<ConfTargetEntry> control(targets, conf::toMediaControlEntry);
        QCOMPARE(tq::readField(control.data()[0].text1), QString("carol"));
        QCOMPARE(control.data()[0].deviceType, 2);
    }

    // Released with delete[]: one line-less trace per entry.
    void recordingEntriesTraceTheirRelease()
    {
        const QByteArray out = capturedStdout([] {
            const conf::EntryArray<_ZSConferenceRecordMemberInfo> entries(
                QList<Agent_ConfRecordMemberInfo>{{"bob", 1}, {"carol", 2}, {"dave", 3}});
            QCOMPARE(tq::readField(entries.data()[2].text1), QString("dave"));
            QCOMPARE(entries.data()[1].number1, 2);
        });
        QCOMPARE(out, QByteArray("~_ZSConferenceRecordMemberInfo()").repeated(3));
        _ZSConferenceRecordMemberInfo fresh;
        QCOMPARE(bytesOf(fresh), QByteArray(264, '\0'));
        capturedStdout([] {}); // `fresh` traces when it goes; that is fine here
    }

    // ---- engine records
    // --------------------------------------------------------------------------

    void topics()
    {
        QCOMPARE(conf::topicOf(R"({"topics":[{"topic":"first"},{"topic":"second"}]})"),
                 QString("second"));
        QCOMPARE(conf::topicOf("Plain words"), QString("Plain words"));
        QCOMPARE(conf::topicOf(R"({"topics":[]})"), QString(R"({"topics":[]})"));
        QCOMPARE(conf::topicOf(R"( {"topics":[{"topic":"中文"}]})"), QString::fromUtf8("中文"));
        QCOMPARE(conf::topicOf(R"({"topics":)"), QString(R"({"topics":)"));
        QCOMPARE(conf::topicOf(""), QString());
    }

    void memberFlagsSplitTheWord()
    {
        ZS_ConfMemberInfo m{};
        put(m.memberId, "bob");
        m.number3 = 9;
        put(m.text8, "never read");
        m.deviceType = 2;
        m.number5 = 5;
        const Agent_ConferenceMemberInfo info = conf::toMemberInfo(m, conf::DeviceType::Skip);
        QCOMPARE(info.number3, 9);
        QVERIFY(info.flag0 && info.flag3);
        QVERIFY(!info.flag1 && !info.flag2 && !info.flag4 && !info.flag5 && !info.flag6
                && !info.flag7 && !info.flag8 && !info.flag9 && !info.flag10 && !info.flag11);
        QVERIFY(info.text8.isEmpty());
        QCOMPARE(info.deviceType, 0);
        QCOMPARE(info.number5, 5);
        QCOMPARE(conf::toMemberInfo(m, conf::DeviceType::Read).deviceType, 2);
        m.number3 = -1;
        const Agent_ConferenceMemberInfo all = conf::toMemberInfo(m, conf::DeviceType::Skip);
        QVERIFY(all.flag0 && all.flag11);
    }

    void conferenceRecords()
    {
        ZS_ConfMemberInfo members[2] = {};
        put(members[0].memberId, "bob");
        put(members[1].memberId, "carol");
        members[1].deviceType = 3;
        ZS_ConfInfo c{};
        fill(c.confId, 'x'); // no NUL: read up to its width only
        fill(c.text2, 'y');
        put(c.creator, "alice");
        c.number9 = 99;
        c.number12 = 2;
        c.members = members;
        put(c.confTopic, R"({"topics":[{"topic":"a"},{"topic":"b"}]})");
        put(c.text8, "join only");
        c.number16 = 16;
        c.number17 = 17;
        put(c.text10, "ten");
        const Agent_ConfInfo info
            = conf::toConfInfo(&c, conf::JoinFields::Skip, conf::Topic::Extracted);
        QCOMPARE(info.confId, QString(257, 'x'));
        QCOMPARE(info.text2, QString(259, 'y'));
        QCOMPARE(info.creator, QString("alice"));
        QCOMPARE(info.number9, 0);
        QCOMPARE(info.number12, 2);
        QCOMPARE(info.members.size(), 2);
        QCOMPARE(info.members[1].memberId, QString("carol"));
        QCOMPARE(info.members[1].deviceType, 3);
        QCOMPARE(info.confTopic, QString("b"));
        QVERIFY(info.text8.isEmpty() && info.text9.isEmpty() && info.text10.isEmpty());
        QCOMPARE(info.number16, 0);
        QCOMPARE(info.number17, 0);

        const Agent_ConfInfo joined
            = conf::toConfInfo(&c, conf::JoinFields::Read, conf::Topic::Raw);
        QCOMPARE(joined.text8, QString("join only"));
        QCOMPARE(joined.number16, 16);
        QCOMPARE(joined.number17, 17);
        QCOMPARE(joined.text10, QString("ten"));
        QCOMPARE(joined.confTopic, QString(R"({"topics":[{"topic":"a"},{"topic":"b"}]})"));

        QCOMPARE(conf::toConfInfo(nullptr, conf::JoinFields::Read, conf::Topic::Raw),
                 Agent_ConfInfo());
    }

    // A member array that is not there, or a count below zero, reads as no members.
    void oddMemberArrays()
    {
        ZS_ConfMemberInfo one[1] = {};
        ZS_ConfInfo c{};
        c.number12 = 3;
        c.members = nullptr;
        QVERIFY(conf::toConfInfo(&c, conf::JoinFields::Skip, conf::Topic::Raw).members.isEmpty());
        c.number12 = -4;
        c.members = one;
        const Agent_ConfInfo info = conf::toConfInfo(&c, conf::JoinFields::Skip, conf::Topic::Raw);
        QVERIFY(info.members.isEmpty());
        QCOMPARE(info.number12, 0);
    }

    // The cache gives what reading the field gives, for every text, however often.
    void cachedTextsAreTheFieldsTexts()
    {
        char field[100];
        const QList<QByteArray> texts{"",
                                      "a",
                                      "conf-1",
                                      "2024-05-06 09:00:00",
                                      QString::fromUtf8("张三").toUtf8(),
                                      QByteArray(64, 'x'),
                                      QByteArray(65, 'y'),
                                      QByteArray(99, 'z')};
        for (int round = 0; round < 3; ++round) {
            for (const QByteArray &text : texts) {
                put(field, text.constData());
                QCOMPARE(tq::readFieldCached(field), tq::readField(field));
                QCOMPARE(tq::readFieldCached(field).isNull(), tq::readField(field).isNull());
            }
        }
        fill(field, 'w'); // no NUL: read up to the width
        QCOMPARE(tq::readFieldCached(field), QString(100, 'w'));
        // Texts falling in the same slot replace each other and still read right.
        for (int i = 0; i < 5000; ++i) {
            put(field, qPrintable(QString::number(i)));
            QCOMPARE(tq::readFieldCached(field), QString::number(i));
        }
    }

    void smallRecords()
    {
        ZS_ConfFailedMember f{};
        put(f.text1, "dave");
        f.number1 = 404;
        fill(f.text2, 'w');
        QCOMPARE(conf::toFailedMember(f),
                 (Agent_FaildConferenceMemberInfo{"dave", 404, QString(36, 'w')}));
        ZS_ConfRecordFile r{};
        put(r.text1, "rec-1");
        put(r.text2, "https://x/rec-1.mp4");
        r.number1 = 90;
        put(r.text3, "start");
        fill(r.text4, 'e');
        QCOMPARE(
            conf::toRecordFile(r),
            (Agent_ConfRecordFile{"rec-1", "https://x/rec-1.mp4", 90, "start", QString(67, 'e')}));
        ZS_ConfAppSetting setting{};
        setting.value = 42;
        QCOMPARE(conf::toAppSetting(&setting).value, 42);
        QCOMPARE(conf::toAppSetting(nullptr).value, 0);
        ZS_ConfInviteNotification invite{};
        put(invite.text1, "conf-1");
        invite.number1 = 1;
        put(invite.text7, "inv-1");
        std::memset(invite.reserved860, 'z', sizeof invite.reserved860);
        const Agent_ConfInviteNtyMsg msg = conf::toInviteNty(&invite);
        QCOMPARE(msg.text1, QString("conf-1"));
        QCOMPARE(msg.text7, QString("inv-1"));
        QVERIFY(msg.text4.isEmpty());
        QCOMPARE(msg.number3 + msg.number4 + msg.number5, 0);
        QCOMPARE(conf::toInviteNty(nullptr), Agent_ConfInviteNtyMsg());
        QCOMPARE(conf::toEndNty(nullptr), Agent_ConfEndNtyMsg());
        QCOMPARE(conf::toBeforeStartNty(nullptr), Agent_ConfBeforeStartNtyMsg());
        QCOMPARE(conf::toAppointmentNty(nullptr), Agent_ConfAppointmentNtyMsg());
    }
};

QObject *newTestConfRecords()
{
    return new TestConfRecords;
}

#include "tst_conf_records.moc"
