#include "BenchPeer.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <unistd.h>

namespace xbench {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString messageText(qint64 sentNs, int number)
{
    QString text = QStringLiteral("%1 %2 ").arg(sentNs).arg(number);
    static const QString filler = QStringLiteral("Are we still on for the design review at 3 pm? "
                                                 "I booked room 4.");
    text += filler.left(qMax(0, kTextLength - text.size()));
    return text;
}

bool parseMessage(const QString &text, qint64 &sentNs, int &number)
{
    const QVector<QStringRef> parts = text.splitRef(QLatin1Char(' '));
    if (parts.size() < 2)
        return false;
    bool okTime = false;
    bool okNumber = false;
    sentNs = parts[0].toLongLong(&okTime);
    number = parts[1].toInt(&okNumber);
    return okTime && okNumber && sentNs > 0 && number >= 0;
}

qint64 percentile(std::vector<qint64> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(p * double(values.size())));
    return values[std::min(values.size(), std::max<std::size_t>(rank, 1)) - 1];
}

namespace {

// CPU time of this process, every thread, in ms.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

class Driver : public QObject
{
public:
    explicit Driver(Transport &transport)
        : m_transport(transport)
        , m_stdin(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
    {
        connect(m_stdin, &QSocketNotifier::activated, this, &Driver::readInput);
        connect(&m_transport, &Transport::connected, this, [] { say("ready"); });
        connect(&m_transport, &Transport::failed, this,
                [](int reason) { say("fail " + QByteArray::number(reason)); });
        connect(&m_transport, &Transport::received, this, &Driver::onReceived);
        connect(&m_transport, &Transport::loggedOut, this, &Driver::finish);
    }

private:
    void readInput()
    {
        char chunk[4096];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) { // the bench went away
            m_stdin->setEnabled(false);
            quit();
            return;
        }
        m_input.append(chunk, int(n));
        int end;
        while ((end = m_input.indexOf('\n')) >= 0) {
            const QByteArray line = m_input.left(end).trimmed();
            m_input.remove(0, end + 1);
            command(QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        }
    }

    void command(const QStringList &words)
    {
        const QString name = words.value(0);
        if (name == QLatin1String("login") && words.size() == 5) {
            m_transport.login(words[1], words[2], words[3], words[4].toInt());
        } else if (name == QLatin1String("expect") && words.size() == 3) {
            m_expected = qMax(0, words[1].toInt());
            m_report = words[2] == QLatin1String("1");
            m_seen.assign(std::size_t(m_expected), false);
            // Written once now, so that the record's own pages do not show as the receiver's
            // memory growing while messages come.
            m_latencies.resize(std::size_t(m_expected));
            m_latencies.clear();
            m_cpuStartMs = cpuMs();
        } else if (name == QLatin1String("send") && words.size() == 4) {
            m_to = words[1];
            m_count = qMax(0, words[2].toInt());
            m_window = qMax(0, words[3].toInt());
            m_cpuStartMs = cpuMs();
            pump();
        } else if (name == QLatin1String("credit") && words.size() == 2) {
            m_credit = qMax(m_credit, words[1].toInt());
            pump();
        } else if (name == QLatin1String("quit")) {
            quit();
        } else {
            say("fail unknown-command");
        }
    }

    // Sends while fewer than `window` messages are on their way (sent, not yet received).
    void pump()
    {
        while (m_sent < m_count && (m_window == 0 || m_sent - m_credit < m_window)) {
            m_transport.send(m_to, messageText(nowNs(), m_sent));
            ++m_sent;
        }
        if (m_sent == m_count && m_count > 0 && !m_allSent) {
            m_allSent = true;
            say("sent " + QByteArray::number(m_sent));
        }
    }

    void onReceived(const QString &text)
    {
        const qint64 now = nowNs();
        qint64 sentNs = 0;
        int number = -1;
        if (!parseMessage(text, sentNs, number) || number >= m_expected) {
            ++m_foreign;
            return;
        }
        if (m_seen[std::size_t(number)]) {
            ++m_duplicates;
            return;
        }
        m_seen[std::size_t(number)] = true;
        m_latencies.push_back(now - sentNs);
        m_firstSentNs = qMin(m_firstSentNs, sentNs);
        m_lastReceivedNs = now;
        if (m_report)
            say("got " + QByteArray::number(qint64(m_latencies.size())));
        if (int(m_latencies.size()) == m_expected)
            say("result " + compact(result()));
    }

    QJsonObject result() const
    {
        const double seconds = double(m_lastReceivedNs - m_firstSentNs) / 1e9;
        QJsonObject r;
        r[QStringLiteral("messages")] = int(m_latencies.size());
        r[QStringLiteral("seconds")] = seconds;
        r[QStringLiteral("perSecond")] = seconds > 0 ? double(m_latencies.size()) / seconds : 0.0;
        r[QStringLiteral("p50Ms")] = double(percentile(m_latencies, 0.50)) / 1e6;
        r[QStringLiteral("p99Ms")] = double(percentile(m_latencies, 0.99)) / 1e6;
        r[QStringLiteral("duplicates")] = m_duplicates;
        r[QStringLiteral("foreign")] = m_foreign;
        return r;
    }

    // Logs out, and ends when the transport says so or after a bound (a lost server).
    void quit()
    {
        if (m_quitting)
            return;
        m_quitting = true;
        m_cpuRunMs = cpuMs() - m_cpuStartMs;
        QTimer::singleShot(10000, this, &Driver::finish);
        m_transport.logout();
    }

    void finish()
    {
        if (m_finished)
            return;
        m_finished = true;
        QJsonObject figures = m_transport.figures();
        figures[QStringLiteral("sent")] = m_sent;
        // From the first send (or the receiver's start) to "quit": login and logout left out.
        if (m_cpuStartMs > 0)
            figures[QStringLiteral("cpuMs")] = m_cpuRunMs;
        say("bye " + compact(figures));
        QCoreApplication::exit(0);
    }

    Transport &m_transport;
    QSocketNotifier *m_stdin;
    QByteArray m_input;
    // sender
    QString m_to;
    int m_count = 0;
    int m_window = 0;
    int m_sent = 0;
    int m_credit = 0;
    bool m_allSent = false;
    // receiver
    int m_expected = 0;
    bool m_report = false;
    std::vector<bool> m_seen;
    std::vector<qint64> m_latencies;
    qint64 m_firstSentNs = std::numeric_limits<qint64>::max();
    qint64 m_lastReceivedNs = 0;
    int m_duplicates = 0;
    int m_foreign = 0;
    double m_cpuStartMs = 0;
    double m_cpuRunMs = 0;
    bool m_quitting = false;
    bool m_finished = false;
};

} // namespace

int runPeer(Transport &transport)
{
    Driver driver(transport);
    return QCoreApplication::exec();
}

} // namespace xbench
