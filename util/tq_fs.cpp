#include "tq_fs_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tq {

namespace {

#ifndef Q_OS_WIN
QString errnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// ::open that restarts on EINTR.
int openRetrying(const QByteArray &path, int flags)
{
    int fd;
    do {
        fd = ::open(path.constData(), flags, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool makeOwnerOnlyDir(const QString &dir, QString *error)
{
    const int rc = ::mkdir(QFile::encodeName(dir).constData(), 0700);
    const int err = rc == 0 ? 0 : errno;
    if (QFileInfo(dir).isDir())
        return true; // made now, or there already (EEXIST, or EACCES in a parent we may not write)
    if (error) {
        *error = err == EEXIST
            ? QStringLiteral("%1 exists and is not a directory").arg(dir)
            : QStringLiteral("cannot create directory %1: %2").arg(dir, errnoText(err));
    }
    return false;
}
#endif

} // namespace

bool ensureDir(const QString &path, QString *error)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (QFileInfo(clean).isDir())
        return true;
#ifdef Q_OS_WIN
    if (QDir().mkpath(clean))
        return true;
    if (error)
        *error = QStringLiteral("cannot create directory %1").arg(clean);
    return false;
#else
    // Walk down from the root so that every component we create gets 0700 at once,
    // with no window in which it has the umask's wider mode. clean is absolute: every
    // '/' after the first character ends one more component.
    int end = 0;
    do {
        end = clean.indexOf(QLatin1Char('/'), end + 1);
        if (!makeOwnerOnlyDir(end < 0 ? clean : clean.left(end), error))
            return false;
    } while (end >= 0);
    return true;
#endif
}

#ifdef Q_OS_WIN
bool AppendFile::open(const QString &path, QString *error)
{
    close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = m_file.errorString();
        return false;
    }
    m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

bool AppendFile::isOpen() const
{
    return m_file.isOpen();
}

void AppendFile::close()
{
    m_file.close();
}

qint64 AppendFile::write(const char *data, qint64 size, QString *error)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = m_file.write(data + done, size - done);
        if (n <= 0) {
            if (error)
                *error = m_file.errorString();
            break;
        }
        done += n;
    }
    return done;
}

bool AppendFile::cutEnd(qint64 bytes, QString *error)
{
    if (m_file.resize(qMax<qint64>(m_file.size() - bytes, 0)))
        return true;
    if (error)
        *error = m_file.errorString();
    return false;
}
#else
bool AppendFile::open(const QString &path, QString *error)
{
    close();
    m_fd = openRetrying(QFile::encodeName(path), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC);
    if (m_fd < 0) {
        if (error)
            *error = errnoText(errno);
        return false;
    }
    // An existing file may have been created with a wider mode by someone else's tool.
    ::fchmod(m_fd, 0600);
    return true;
}

bool AppendFile::isOpen() const
{
    return m_fd >= 0;
}

void AppendFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

qint64 AppendFile::write(const char *data, qint64 size, QString *error)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n > 0) {
            done += n; // after a short write the next call says why
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (error)
            *error = errnoText(n < 0 ? errno : EIO); // a write of 0 bytes sets no errno
        break;
    }
    return done;
}

bool AppendFile::cutEnd(qint64 bytes, QString *error)
{
    // Appending is the only way we write, so the end of the file is where our bytes went.
    struct stat st;
    int rc = ::fstat(m_fd, &st);
    if (rc == 0) {
        const off_t end = st.st_size > bytes ? st.st_size - off_t(bytes) : 0;
        do {
            rc = ::ftruncate(m_fd, end);
        } while (rc < 0 && errno == EINTR);
    }
    if (rc == 0)
        return true;
    if (error)
        *error = errnoText(errno);
    return false;
}
#endif

bool prepareOwnerOnlyFile(const QString &path, QString *error)
{
#ifdef Q_OS_WIN
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
#else
    const int fd = openRetrying(QFile::encodeName(path), O_RDWR | O_CREAT | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = errnoText(errno);
        return false;
    }
    // Best effort, as for the log file: some file systems have no modes at all.
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
#endif
}

} // namespace tq
