#pragma once

// File-system helpers shared inside TQ_Util; not installed.

#include <QString>

#ifdef Q_OS_WIN
#include <QFile>
#endif

namespace tq {

// Creates the directory and any missing parents. Directories created here are owner-only;
// existing ones are left as they are (the path may be a shared directory such as /tmp).
bool ensureDir(const QString &path, QString *error);

// A file open for appending, created owner-only, written without any buffering of our own:
// a failed write is then known at once, with the system's reason.
class AppendFile
{
public:
    AppendFile() = default;
    ~AppendFile() { close(); }
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;

    bool open(const QString &path, QString *error);
    bool isOpen() const;
    void close();
    // Writes all of data, or up to the first failure. Returns the bytes that reached the file.
    qint64 write(const char *data, qint64 size, QString *error);
    // Cuts `bytes` bytes off the end of the file, e.g. the torn end of a failed write.
    bool cutEnd(qint64 bytes, QString *error);

private:
#ifdef Q_OS_WIN
    QFile m_file;
#else
    int m_fd = -1;
#endif
};

// Creates an empty owner-only file if none exists, and takes group/other access away
// from an existing one.
bool prepareOwnerOnlyFile(const QString &path, QString *error);

} // namespace tq
