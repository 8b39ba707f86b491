// The meeting records at the engine boundary: the accept record byte by byte, texts cut to
// their fields at a character boundary, fields read only up to their width, engine flags as
// bytes, the invite result's member pointers, and the record names Qt knows them by.

#include "MeetingTestSupport.h"

#include <MeetingConvert.h>

#include <cstring>
#include <memory>

namespace {

// A record in an allocation of its exact size, every byte `fill`.
template<class Record> std::unique_ptr<Record> filled(unsigned char fill = 0)
{
    std::unique_ptr<Record> r(new Record);
    std::memset(static_cast<void *>(r.get()), fill, sizeof(Record));
    return r;
}

template<std::size_t N> void noNul(char (&field)[N], char c)
{
    std::memset(field, c, N);
}

QByteArray bytesOf(const void *record, std::size_t size)
{
    return QByteArray(static_cast<const char *>(record), int(size));
}

Agent_MeetingComingInfo invitation()
{
    Agent_MeetingComingInfo info;
    info.meetingType = 2;
    info.conferenceId = QStringLiteral("meeting-7");
    info.callid = QStringLiteral("invite-3");
    info.caller = QStringLiteral("bob");
    info.nickname = QString::fromUtf8("Bob Li 李波");
    info.display = QStringLiteral("8002");
    info.sdkUserData = QStringLiteral("{\"room\":\"A\"}");
    return info;
}

} // namespace

class TestMeetingRecords : public QObject
{
    Q_OBJECT

private slots:
    // Every field at its offset, NUL-padded, and the two bytes after the last field zero,
    // whatever the memory held before.
    void acceptRecordBytes()
    {
        auto record = filled<ZS_MeetingInvitation>(0xAB);
        meeting::toEngine(invitation(), *record);
        QByteArray expected(4512, '\0');
        const auto at = [&](int offset, const QByteArray &text) {
            expected.replace(offset, text.size(), text);
        };
        const int type = 2;
        expected.replace(0, 4, QByteArray(reinterpret_cast<const char *>(&type), 4));
        at(4, "meeting-7");
        at(133, "invite-3");
        at(198, "bob");
        at(263, QString::fromUtf8("Bob Li 李波").toUtf8());
        at(392, "8002");
        at(413, "{\"room\":\"A\"}");
        QCOMPARE(bytesOf(record.get(), sizeof *record), expected);
    }

    // A 200-character display keeps its first 20 bytes and a NUL; the next field is intact.
    void longDisplayCutToItsField()
    {
        Agent_MeetingComingInfo info = invitation();
        info.display = QString(200, QLatin1Char('d'));
        ZS_MeetingInvitation record;
        meeting::toEngine(info, record);
        const QByteArray bytes = bytesOf(&record, sizeof record);
        QCOMPARE(bytes.mid(392, 20), QByteArray(20, 'd'));
        QCOMPARE(bytes.at(412), '\0');
        QCOMPARE(bytes.mid(413, 13), QByteArray("{\"room\":\"A\"}\0", 13));
        QCOMPARE(meeting::fromEngine(record).display, QString(20, QLatin1Char('d')));
        QCOMPARE(meeting::fromEngine(record).sdkUserData, info.sdkUserData);
    }

    // Texts are cut at width-1 bytes, never inside a character.
    void cutAtCharacterBoundary_data()
    {
        QTest::addColumn<QString>("nickname");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fits") << QString(128, QLatin1Char('n')) << QString(128, QLatin1Char('n'));
        QTest::newRow("one too many")
            << QString(129, QLatin1Char('n')) << QString(128, QLatin1Char('n'));
        // 43 characters of 3 bytes: 129 bytes; the 43rd would end at byte 129.
        QTest::newRow("three-byte characters")
            << QString(43, QChar(0x4E2D)) << QString(42, QChar(0x4E2D));
        // 127 ASCII bytes and a 2-byte character: the character would need bytes 127-128.
        QTest::newRow("split pair")
            << QString(127, QLatin1Char('a')) + QChar(0xE9) << QString(127, QLatin1Char('a'));
        QTest::newRow("empty") << QString() << QString();
    }

    void cutAtCharacterBoundary()
    {
        QFETCH(QString, nickname);
        QFETCH(QString, expected);
        Agent_MeetingComingInfo info = invitation();
        info.nickname = nickname;
        ZS_MeetingInvitation record;
        meeting::toEngine(info, record);
        QCOMPARE(meeting::fromEngine(record).nickname, expected);
        QCOMPARE(record.nickname[128], '\0');
        QCOMPARE(QByteArray(record.nickname), expected.toUtf8());
        QCOMPARE(meeting::fromEngine(record).display, QString("8002"));
    }

    // An invitation read from the engine's record and handed back to accept it is the same.
    void invitationRoundTrip()
    {
        ZS_MeetingInvitation record;
        meeting::toEngine(invitation(), record);
        QCOMPARE(meeting::fromEngine(record), invitation());
    }

    // A 9-byte member text of 8 characters and a NUL gives the 8; 9 characters without a NUL
    // give the 9, never the next field.
    void memberTextWidths()
    {
        auto record = filled<ZS_MeetingMemberInfo>();
        std::strcpy(record->text1, "12345678");
        std::strcpy(record->text2, "Bob Li");
        Agent_MeetingMemberInfo member = meeting::fromEngine(*record);
        QCOMPARE(member.text1, QString("12345678"));
        QCOMPARE(member.text2, QString("Bob Li"));

        noNul(record->text1, '9');
        member = meeting::fromEngine(*record);
        QCOMPARE(member.text1, QString(9, QLatin1Char('9')));
        QCOMPARE(member.text2, QString("Bob Li"));
    }

    // Every text of every record without a NUL anywhere: each read stops at its own width.
    void fieldsWithoutNul()
    {
        auto member = filled<ZS_MeetingMemberInfo>('m');
        const Agent_MeetingMemberInfo m = meeting::fromEngine(*member);
        QCOMPARE(m.text1.size(), 9);
        QCOMPARE(m.text2.size(), 129);
        QCOMPARE(m.text3.size(), 65);
        QCOMPARE(m.text4.size(), 1025);

        auto info = filled<ZS_MeetingInfo>('i');
        const Agent_MeetingInfo i = meeting::fromEngine(*info);
        QCOMPARE(i.text1.size(), 129);
        QCOMPARE(i.text4.size(), 129);

        // The last text of the interphone message is read up to the width this header gives
        // it, even when the engine put no NUL before the record ends.
        auto interphone = filled<ZS_InterphoneMsg>('p');
        const Agent_InterphoneMsg p = meeting::fromEngine(*interphone);
        QCOMPARE(p.text1.size(), 65);
        QCOMPARE(p.text4.size(), 21);
        QCOMPARE(p.text6.size(), 1025);
        QCOMPARE(p.text7.size(), 1025);

        auto voice = filled<ZS_VoiceMeetingMsg>('v');
        const Agent_VoiceMeetingMsg v = meeting::fromEngine(*voice);
        QCOMPARE(v.text4.size(), 9);
        QCOMPARE(v.text7.size(), 129);

        auto video = filled<ZS_VideoMeetingMsg>('w');
        const Agent_VideoMeetingMsg w = meeting::fromEngine(*video);
        QCOMPARE(w.text4.size(), 9);
        QCOMPARE(w.text7.size(), 129);

        auto invited = filled<ZS_MeetingInvitation>('c');
        const Agent_MeetingComingInfo c = meeting::fromEngine(*invited);
        QCOMPARE(c.display.size(), 21);
        QCOMPARE(c.sdkUserData.size(), 4097);

        auto removed = filled<ZS_MeetingDeleteMemberInfo>('d');
        QCOMPARE(meeting::fromEngine(*removed).member.size(), 129);
        auto setting = filled<ZS_MeetingSpeakListenInfo>('s');
        QCOMPARE(meeting::fromEngine(*setting).meetingId.size(), 129);
    }

    // Flags are bytes: any non-zero one is true.
    void flagsAreBytes()
    {
        auto member = filled<ZS_MeetingMemberInfo>();
        member->flag1 = 158;
        member->flag3 = 1;
        Agent_MeetingMemberInfo m = meeting::fromEngine(*member);
        QVERIFY(m.flag1 && !m.flag2 && m.flag3);

        auto removed = filled<ZS_MeetingDeleteMemberInfo>();
        removed->isVoIP = 0x80;
        removed->meetingType = 2;
        QVERIFY(meeting::fromEngine(*removed).isVoIP);
        QCOMPARE(meeting::fromEngine(*removed).meetingType, 2);

        auto setting = filled<ZS_MeetingSpeakListenInfo>();
        setting->option = 3;
        QVERIFY(!meeting::fromEngine(*setting).isVoIP);
        setting->isVoIP = 2;
        QVERIFY(meeting::fromEngine(*setting).isVoIP);
        QCOMPARE(meeting::fromEngine(*setting).option, 3);
    }

    // The video message is the voice message's fields 8 bytes further on.
    void videoMessageFields()
    {
        auto video = filled<ZS_VideoMeetingMsg>();
        video->number1 = 1;
        video->number2 = 2;
        video->number3 = 3;
        video->number4 = -4;
        std::strcpy(video->text1, "meeting-1");
        std::strcpy(video->text4, "8002");
        std::strcpy(video->text7, "Weekly");
        video->flag1 = 1;
        const Agent_VideoMeetingMsg msg = meeting::fromEngine(*video);
        QCOMPARE(msg.number4, -4);
        QCOMPARE(msg.text1, QString("meeting-1"));
        QCOMPARE(msg.text4, QString("8002"));
        QCOMPARE(msg.text7, QString("Weekly"));
        QVERIFY(msg.flag1);
        QCOMPARE(reinterpret_cast<const char *>(video->text1)
                     - reinterpret_cast<const char *>(video.get()),
                 16);
    }

    // The invite result points to its member texts: read through the pointers in order, a
    // null entry kept as a null text, a null array or a negative count read as none.
    void inviteResultPointers()
    {
        const char *members[] = {"bob", nullptr, "carol"};
        auto result = filled<ZS_MeetingInviteResult>();
        std::strcpy(result->conferenceId, "meeting-2");
        result->members = members;
        result->memberCount = 3;
        result->resultText = "dave";
        result->flag1 = 1;
        result->flag2 = 0;
        Agent_MeetingInviteInfo info = meeting::fromEngine(*result);
        QCOMPARE(info.conferenceId, QString("meeting-2"));
        QCOMPARE(info.members.size(), 3);
        QCOMPARE(info.members.at(0), QString("bob"));
        QVERIFY(info.members.at(1).isNull());
        QCOMPARE(info.members.at(2), QString("carol"));
        QCOMPARE(info.resultText, QString("dave"));
        QVERIFY(info.flag1 && !info.flag2);

        result->memberCount = -1;
        result->resultText = nullptr;
        info = meeting::fromEngine(*result);
        QVERIFY(info.members.isEmpty());
        QVERIFY(info.resultText.isNull());

        result->members = nullptr;
        result->memberCount = 3;
        QVERIFY(meeting::fromEngine(*result).members.isEmpty());
    }

    // Queued signals need the records under exactly their names.
    void recordNames()
    {
        for (const char *name :
             {"Agent_MeetingComingInfo", "Agent_MeetingInfo", "Agent_MeetingMemberInfo",
              "Agent_MeetingDeleteMemberInfo", "Agent_MeetingMemberSpeakListenInfo",
              "Agent_MeetingInviteInfo", "Agent_InterphoneMsg", "Agent_VoiceMeetingMsg",
              "Agent_VideoMeetingMsg", "QList<Agent_MeetingMemberInfo>", "QList<Agent_MeetingInfo>",
              "QList<QString>"})
            QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);
        QCOMPARE(QMetaType::type("Agent_MeetingInfo"), qMetaTypeId<Agent_MeetingInfo>());
        QCOMPARE(QMetaType::type("QList<Agent_MeetingMemberInfo>"),
                 qMetaTypeId<QList<Agent_MeetingMemberInfo>>());
    }
};

QObject *newTestMeetingRecords()
{
    return new TestMeetingRecords;
}

#include "tst_meeting_records.moc"
