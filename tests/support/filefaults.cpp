#include "filefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kReadOnlyFolder = 0555;
constexpr mode_t kReadOnlyFile = 0444;
constexpr mode_t kWritableFolder = 0755;
constexpr mode_t kWritableFile = 0644;

bool setImmutableFlag(const QString &path, bool immutable)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace

bool setImmutable(const QString &path, bool immutable)
{
    if (setImmutableFlag(path, immutable))
        return true;
    if (::geteuid() == 0)
        return false;
    const bool folder = QFileInfo(path).isDir();
    const mode_t mode =
        immutable ? (folder ? kReadOnlyFolder : kReadOnlyFile) : (folder ? kWritableFolder : kWritableFile);
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

ImmutableGuard::~ImmutableGuard()
{
    if (!path.isEmpty())
        setImmutable(path, false);
}

bool FileSizeLimit::apply(rlim_t bytes)
{
    if (getrlimit(RLIMIT_FSIZE, &previous) != 0)
        return false;
    // Past the limit a write fails with EFBIG instead of killing the process.
    previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    handlerSet = true;
    rlimit limit = previous;
    limit.rlim_cur = bytes;
    active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    return active;
}

void FileSizeLimit::release()
{
    if (active)
        setrlimit(RLIMIT_FSIZE, &previous);
    if (handlerSet)
        std::signal(SIGXFSZ, previousHandler);
    active = false;
    handlerSet = false;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool makeUnwritable(const QString &path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile probe(path);
    if (!probe.open(QIODevice::ReadWrite))
        return true;
    probe.close();
    setImmutable(path, true);
    return !probe.open(QIODevice::ReadWrite);
}

void makeWritable(const QString &path)
{
    setImmutable(path, false);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

bool immutableFolderRefusesFiles(const QString &parent)
{
    const QString probe = QDir(parent).filePath(QStringLiteral("probe"));
    if (!QDir().mkpath(probe) || !setImmutable(probe, true))
        return false;
    QFile inside(probe + QStringLiteral("/file"));
    const bool writable = inside.open(QIODevice::WriteOnly);
    setImmutable(probe, false);
    return !writable;
}
