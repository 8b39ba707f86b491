// Fixed-width engine fields, argument holders and engine counts, at their edges.

#include <EngineArgs.h>
#include <FixedField.h>

#include <QtTest>

#include <cstring>

class TestFixedField : public QObject
{
    Q_OBJECT

private slots:
    void write_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected"); // bytes before the NUL

        // Field of 8 bytes: at most 7 bytes of text.
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("short") << QString("abc") << QByteArray("abc");
        QTest::newRow("exact fit") << QString("abcdefg") << QByteArray("abcdefg");
        QTest::newRow("one too long") << QString("abcdefgh") << QByteArray("abcdefg");
        // "é" is 2 bytes: 6 + 2 would need 8, so it is dropped whole.
        QTest::newRow("cut inside 2-byte char")
            << QString::fromUtf8("abcdefé") << QByteArray("abcdef");
        // "中" is 3 bytes: "ab" + 中 + 中 = 8 bytes; the second one does not fit.
        QTest::newRow("cut inside 3-byte char")
            << QString::fromUtf8("ab中中") << QString::fromUtf8("ab中").toUtf8();
        // An emoji is 4 bytes: one fits in 7 with 3 ASCII, two do not.
        QTest::newRow("cut inside 4-byte char")
            << QString::fromUtf8("abc🎉🎉") << QString::fromUtf8("abc🎉").toUtf8();
        QTest::newRow("multi-byte exact fit")
            << QString::fromUtf8("a中中") << QString::fromUtf8("a中中").toUtf8();
    }

    void write()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        struct
        {
            char field[8];
            char guard[4];
        } rec;
        std::memset(&rec, 'Z', sizeof rec);
        tq::writeField(rec.field, text);

        QCOMPARE(QByteArray(rec.field, int(qstrnlen(rec.field, 8))), expected);
        for (std::size_t i = std::size_t(expected.size()); i < sizeof rec.field; ++i)
            QCOMPARE(rec.field[i], '\0'); // NUL and zero fill
        QCOMPARE(QByteArray(rec.guard, 4), QByteArray("ZZZZ")); // nothing past the field
        QVERIFY(QString::fromUtf8(expected).toUtf8() == expected); // still valid UTF-8
    }

    void readIsBoundedByTheField()
    {
        struct
        {
            char field[4];
            char next[4];
        } rec;
        std::memcpy(rec.field, "abcd", 4); // no NUL anywhere in the field
        std::memcpy(rec.next, "XYZ", 4);
        QCOMPARE(tq::readField(rec.field), QString("abcd"));

        char nul[6] = {'h', 'i', '\0', 'x', 'y', 'z'};
        QCOMPARE(tq::readField(nul), QString("hi"));

        // The NUL in the last byte: every byte before it is text.
        char full[7] = {'a', 'b', 'c', '\xe4', '\xb8', '\xad', '\0'};
        QCOMPARE(tq::readField(full), QString::fromUtf8("abc中"));

        char utf8[16] = {};
        tq::writeField(utf8, QString::fromUtf8("Ünï 中"));
        QCOMPARE(tq::readField(utf8), QString::fromUtf8("Ünï 中"));
    }

    void engineTextsAndCounts()
    {
        QCOMPARE(tq::fromEngineText(nullptr), QString());
        QCOMPARE(tq::fromEngineText("\xe4\xb8\xad"), QString::fromUtf8("中"));

        const int values[3] = {7, 8, 9};
        const auto twice = [](int v) {
            return v * 2;
        };
        QCOMPARE(tq::convertArray(values, 3, twice), (QList<int>{14, 16, 18}));
        QCOMPARE(tq::convertArray(values, 0, twice), QList<int>());
        QCOMPARE(tq::convertArray(values, -5, twice), QList<int>());
        QCOMPARE(tq::convertArray(static_cast<const int *>(nullptr), 3, twice), QList<int>());
    }

    void stringArrayOwnsSeparateCopies()
    {
        const QList<QString> names{"alice", QString::fromUtf8("张三"), QString()};
        tq::StringArray array(names);
        QCOMPARE(array.count(), 3);
        char **data = array.data();
        QCOMPARE(QByteArray(data[0]), QByteArray("alice"));
        QCOMPARE(QByteArray(data[1]), QString::fromUtf8("张三").toUtf8());
        QCOMPARE(QByteArray(data[2]), QByteArray());
        QVERIFY(data[0] != data[1] && data[1] != data[2]);

        tq::StringArray none{QList<QString>()};
        QCOMPARE(none.count(), 0);
        QCOMPARE(none.data(), nullptr);
    }

    void argHoldersKeepBytesForTheCall()
    {
        const tq::Utf8Arg utf8(QString::fromUtf8("中"));
        QCOMPARE(QByteArray(utf8.get()), QByteArray("\xe4\xb8\xad"));
        const tq::Utf8Arg empty{QString()};
        QVERIFY(empty.get() != nullptr);
        QCOMPARE(*empty.get(), '\0');
    }
};

QTEST_APPLESS_MAIN(TestFixedField)
#include "tst_fixedfield.moc"
