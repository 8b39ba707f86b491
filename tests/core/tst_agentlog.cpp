// Log line formatting, the framed log block and the engine-call helper.

#include <AgentLog.h>

#include <QtTest>

namespace {
int engineTwice(int a, const char *b)
{
    return a * 2 + (b ? 1 : 0);
}
} // namespace

class TestAgentLog : public QObject
{
    Q_OBJECT

private slots:
    void valuesAreNotExpandedAgain()
    {
        // A value containing placeholders is logged as it is.
        QCOMPARE(tq::format("%1,ret=%2", QString("x%2y%1"), 5), QString("x%2y%1,ret=5"));
        QCOMPARE(tq::format("%1 code = %2, reason = %3", TQ_WHERE(SDK_CallBackProxy), 3, 0),
                 QString("SDK_CallBackProxy::valuesAreNotExpandedAgain code = 3, reason = 0"));
    }

    void numbersAndOddPlaceholders()
    {
        QCOMPARE(tq::format("%1/%2/%3/%4", -7, 4294967295u, 18446744073709551615ull, true),
                 QString("-7/4294967295/18446744073709551615/1"));
        QCOMPARE(tq::format("%1%1 %3", 1), QString("11 %3")); // missing argument stays
        QCOMPARE(tq::format("100% sure %", 1), QString("100% sure %"));
        QCOMPARE(tq::format("no placeholders"), QString("no placeholders"));
        QCOMPARE(tq::format("%1", static_cast<const char *>(nullptr)), QString());
        QCOMPARE(tq::format("%1|%10|%11", 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k'),
                 QString("a|j|k"));
        QCOMPARE(tq::format("%1", QString::fromUtf8("中文")), QString::fromUtf8("中文"));
    }

    void logBlockFrame()
    {
        const QString dashes(50, '-');
        const QString text = tq::LogBlock(QString("IM_Agent::slot_x"))
                                 .field("receiver", QString("bob"))
                                 .field("type", 3)
                                 .separator()
                                 .field("ret", 0)
                                 .text();
        QCOMPARE(text,
                 "IM_Agent::slot_x\n" + dashes + "\n receiver : bob\n type : 3\n" + dashes
                     + "\n ret : 0\n" + dashes + "\n");
    }

    // Values from outside cannot start a log entry of their own; the system's own line
    // breaks stay.
    void valuesAreEscaped_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("logged");
        QTest::newRow("line feed") << QString("bob\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED")
                                   << QString("bob\\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED");
        QTest::newRow("CR, tab") << QString("a\rb\tc") << QString("a\\rb\\tc");
        QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << QString("a\\x00b");
        QTest::newRow("other C0, DEL")
            << QString("\x01\x1b[31m\x7f") << QString("\\x01\\x1b[31m\\x7f");
        QTest::newRow("Unicode line breaks")
            << QString::fromUtf16(u"a\u2028b\u2029c\u0085d") << QString("a\\u2028b\\u2029c\\x85d");
        QTest::newRow("plain text and backslashes")
            << QString::fromUtf8("C:\\TQ\\中文 100%") << QString::fromUtf8("C:\\TQ\\中文 100%");
    }

    void valuesAreEscaped()
    {
        QFETCH(QString, value);
        QFETCH(QString, logged);
        QCOMPARE(tq::format("%1 caller=%2\nnext", TQ_WHERE(X), value),
                 "X::valuesAreEscaped caller=" + logged + "\nnext");
        if (!value.contains(QChar(0))) { // byte texts end at their NUL
            QCOMPARE(tq::format("%1", value.toUtf8().constData()), logged);
            QCOMPARE(tq::format("%1", value.toUtf8()), logged);
        }

        const QString dashes(50, '-');
        QCOMPARE(tq::LogBlock(QString("header")).field("Caller", value).line("raw\tline").text(),
                 "header\n" + dashes + "\n Caller : " + logged + "\nraw\tline\n" + dashes + "\n");
    }

    void escapedCharacters()
    {
        QCOMPARE(tq::format("%1", '\n'), QString("\\n"));
        QCOMPARE(tq::format("%1", QChar(0x2028)), QString("\\u2028"));
    }

    void callEngineLogsReturnCode()
    {
        TQLogCapture log;
        const int ret = tq::callEngine(TQ_WHERE(Voip_Agent), engineTwice, 20, "x");
        QCOMPARE(ret, 41);
        QCOMPARE(log.texts(), QStringList{"Voip_Agent::callEngineLogsReturnCode,ret=41"});
        QCOMPARE(log.lines().at(0).level, TQLog::Info);

        tq::logError("initializeSDK error,ret:%1", 1001);
        QCOMPARE(log.texts(TQLog::Error), QStringList{"initializeSDK error,ret:1001"});
    }
};

QTEST_APPLESS_MAIN(TestAgentLog)
#include "tst_agentlog.moc"
