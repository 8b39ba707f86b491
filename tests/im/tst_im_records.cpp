// The messaging records: ChatMsgData and Agent_Message defaults and copies, their
// registration, and the engine's message record read at its documented byte offsets.

#include "ImTestSupport.h"

#include <ImConvert.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>
#include <memory>

namespace {

struct TextField
{
    const char *name;
    int offset;
    int room;
    QString ChatMsgData::*member;
};

// The engine record's text fields: offset and room (NUL included) in bytes.
const QList<TextField> &textFields()
{
    static const QList<TextField> fields{
        {"msgId", 4, 65, &ChatMsgData::msgId},
        {"dateCreated", 69, 21, &ChatMsgData::dateCreated},
        {"sender", 90, 65, &ChatMsgData::sender},
        {"receiver", 155, 65, &ChatMsgData::receiver},
        {"msgContent", 220, 8193, &ChatMsgData::msgContent},
        {"userData", 8413, 24582, &ChatMsgData::userData},
        {"auxText1", 32995, 129, &ChatMsgData::auxText1},
        {"fileName", 33124, 513, &ChatMsgData::fileName},
        {"sessionId", 33637, 65, &ChatMsgData::sessionId},
        {"fileUrl", 33702, 513, &ChatMsgData::fileUrl},
        {"auxText2", 34215, 65, &ChatMsgData::auxText2},
        {"title", 34328, 513, &ChatMsgData::title},
        {"imgPath", 34841, 4097, &ChatMsgData::imgPath},
        {"desc", 38938, 4097, &ChatMsgData::desc},
        {"url", 43035, 4097, &ChatMsgData::url},
    };
    return fields;
}

struct IntField
{
    int offset;
    int ChatMsgData::*member;
};

const QList<IntField> &intFields()
{
    static const QList<IntField> fields{
        {0, &ChatMsgData::msgType},
        {34280, &ChatMsgData::sessionType},
        {34300, &ChatMsgData::auxInt1},
        {34304, &ChatMsgData::auxInt2},
        {34308, &ChatMsgData::auxInt3},
        {34312, &ChatMsgData::isOfflinePush},
        {34316, &ChatMsgData::isHint},
        {34320, &ChatMsgData::isSyncMsg},
        {34324, &ChatMsgData::isReceiveOfflineMsg},
    };
    return fields;
}

struct SizeField
{
    int offset;
    qint64 ChatMsgData::*member;
};

const QList<SizeField> &sizeFields()
{
    static const QList<SizeField> fields{{34284, &ChatMsgData::fileSize},
                                         {34292, &ChatMsgData::auxSize},
                                         {47132, &ChatMsgData::originFileSize}};
    return fields;
}

// Every text member of ChatMsgData, the reserved ones included.
QList<QString ChatMsgData::*> allTexts()
{
    QList<QString ChatMsgData::*> texts;
    for (const TextField &f : textFields())
        texts << f.member;
    texts << &ChatMsgData::reservedText1 << &ChatMsgData::localFile << &ChatMsgData::reservedText2
          << &ChatMsgData::reservedText3 << &ChatMsgData::reservedText4
          << &ChatMsgData::reservedText5 << &ChatMsgData::reservedText6
          << &ChatMsgData::reservedText7 << &ChatMsgData::reservedText8;
    return texts;
}

QList<int ChatMsgData::*> allInts()
{
    QList<int ChatMsgData::*> ints;
    for (const IntField &f : intFields())
        ints << f.member;
    ints << &ChatMsgData::reservedInt1 << &ChatMsgData::reservedInt2 << &ChatMsgData::reservedInt3
         << &ChatMsgData::reservedInt4 << &ChatMsgData::reservedInt5 << &ChatMsgData::sendStatus
         << &ChatMsgData::reservedFlag;
    return ints;
}

// A record in an allocation of exactly its size, its bytes as given.
std::unique_ptr<ZS_MessageInfo> recordFrom(const QByteArray &bytes)
{
    auto record = std::make_unique<ZS_MessageInfo>();
    std::memcpy(static_cast<void *>(record.get()), bytes.constData(), sizeof(ZS_MessageInfo));
    return record;
}

template<class T> void putAt(QByteArray &bytes, int offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value); // little-endian host
}

} // namespace

class TestImRecords : public QObject
{
    Q_OBJECT

private slots:
    void defaultsAreEmptyNotNull()
    {
        const ChatMsgData msg;
        for (QString ChatMsgData::*text : allTexts()) {
            QVERIFY((msg.*text).isEmpty());
            QVERIFY(!(msg.*text).isNull());
        }
        for (int ChatMsgData::*number : allInts())
            QCOMPARE(msg.*number, 0);
        for (const SizeField &f : sizeFields())
            QCOMPARE(msg.*(f.member), qint64(0));

        const Agent_Message plain;
        for (QString Agent_Message::*text :
             {&Agent_Message::msgId, &Agent_Message::dateCreated, &Agent_Message::sender,
              &Agent_Message::receiver, &Agent_Message::msgContent, &Agent_Message::userData,
              &Agent_Message::auxText1, &Agent_Message::fileName, &Agent_Message::sessionId,
              &Agent_Message::fileUrl, &Agent_Message::auxText2}) {
            QVERIFY((plain.*text).isEmpty());
            QVERIFY(!(plain.*text).isNull());
        }
        QCOMPARE(plain.fileSize, qint64(0));
        QCOMPARE(plain.reservedInt0, 0);
    }

    void copyKeepsEveryField()
    {
        ChatMsgData msg;
        int n = 1;
        for (QString ChatMsgData::*text : allTexts())
            msg.*text = QStringLiteral("text %1").arg(n++);
        for (int ChatMsgData::*number : allInts())
            msg.*number = -(n++);
        msg.fileSize = (qint64(1) << 32) + 5;
        msg.auxSize = -(qint64(1) << 40);
        msg.originFileSize = std::numeric_limits<qint64>::max();

        const ChatMsgData copy = msg;
        QCOMPARE(copy, msg);
        for (QString ChatMsgData::*text : allTexts())
            QCOMPARE(copy.*text, msg.*text);
        QCOMPARE(copy.fileSize, (qint64(1) << 32) + 5);
        QCOMPARE(copy.originFileSize, std::numeric_limits<qint64>::max());

        // Through a QVariant, as the pending store keeps it.
        const QVariant v = QVariant::fromValue(msg);
        QCOMPARE(v.value<ChatMsgData>(), msg);
    }

    void registeredUnderTheirNames()
    {
        IM_Agent::instance();
        for (const char *name : {"ChatMsgData", "Agent_Message", "Agent_MsgType", "QStringList",
                                 "QList<ChatMsgData>", "QList<QString>"})
            QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);
        QCOMPARE(QMetaType::type("ChatMsgData"), qMetaTypeId<ChatMsgData>());
        const int type = QMetaType::type("Agent_MsgType");
        QCOMPARE(type, qMetaTypeId<Agent_MsgType>());
        QCOMPARE(QMetaType::sizeOf(type), 4);
        QVERIFY(QMetaType::typeFlags(type) & QMetaType::MovableType);
        QVERIFY(QMetaType::typeFlags(type) & QMetaType::IsEnumeration);
    }

    // Every field where the engine's documentation puts it, the 64-bit sizes at 4-byte
    // alignment included.
    void recordReadAtItsOffsets()
    {
        QByteArray bytes(int(sizeof(ZS_MessageInfo)), '\0');
        for (const TextField &f : textFields())
            std::strcpy(bytes.data() + f.offset, f.name);
        int n = 10;
        for (const IntField &f : intFields())
            putAt(bytes, f.offset, qint32(n++));
        putAt(bytes, 34284, qint64(0x100000005LL));
        putAt(bytes, 34292, qint64(-7));
        putAt(bytes, 47132, qint64(1) << 40);

        const ChatMsgData msg = im::fromEngine(*recordFrom(bytes));
        for (const TextField &f : textFields())
            QCOMPARE(msg.*(f.member), QString::fromLatin1(f.name));
        n = 10;
        for (const IntField &f : intFields())
            QCOMPARE(msg.*(f.member), n++);
        QCOMPARE(msg.fileSize, qint64(0x100000005LL));
        QCOMPARE(msg.auxSize, qint64(-7));
        QCOMPARE(msg.originFileSize, qint64(1) << 40);
        // Not in the record: the defaults.
        QCOMPARE(msg.sendStatus, 0);
        QVERIFY(msg.localFile.isEmpty() && !msg.localFile.isNull());
        QVERIFY(!msg.reservedText8.isNull());
    }

    // Every text filled to its room without a NUL is read up to the room, no further
    // (the record sits in an allocation of its exact size).
    void fieldsWithoutNul()
    {
        QByteArray bytes(int(sizeof(ZS_MessageInfo)), '\x7f');
        char letter = 'a';
        for (const TextField &f : textFields())
            std::memset(bytes.data() + f.offset, letter++, std::size_t(f.room));
        const ChatMsgData msg = im::fromEngine(*recordFrom(bytes));
        letter = 'a';
        for (const TextField &f : textFields())
            QCOMPARE(msg.*(f.member), QString(f.room, QLatin1Char(letter++)));
    }

    void emptyFieldsStayNonNull()
    {
        const auto record = std::make_unique<ZS_MessageInfo>();
        std::memset(static_cast<void *>(record.get()), 0, sizeof(ZS_MessageInfo));
        const ChatMsgData msg = im::fromEngine(*record);
        QCOMPARE(msg, ChatMsgData());
        for (QString ChatMsgData::*text : allTexts())
            QVERIFY(!(msg.*text).isNull());
    }

    void linkCardIsCompactSortedJson()
    {
        ChatMsgData msg;
        msg.title = QString::fromUtf8("标题 \"quoted\"");
        msg.imgPath = QStringLiteral("C:/pics/a.png");
        msg.url = QStringLiteral("https://example.test/a?b=c");
        msg.desc = QStringLiteral("line1\nline2");
        const QString json = im::linkCardJson(msg);
        QCOMPARE(json,
                 QString::fromUtf8("{\"desc\":\"line1\\nline2\",\"imgPath\":\"C:/pics/a.png\","
                                   "\"title\":\"标题 \\\"quoted\\\"\","
                                   "\"url\":\"https://example.test/a?b=c\"}"));
        const QJsonObject back = QJsonDocument::fromJson(json.toUtf8()).object();
        QCOMPARE(back.keys(), QStringList({"desc", "imgPath", "title", "url"}));
        QCOMPARE(back.value("title").toString(), msg.title);
    }
};

QObject *newTestImRecords()
{
    return new TestImRecords;
}

#include "tst_im_records.moc"
