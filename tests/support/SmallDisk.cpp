#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// One namespace per process is enough: every SmallDisk mounts inside it.
bool EnterPrivateMountNamespace(QString& why)
{
    static int result = -1;
    static QString reason;
    if (result < 0) {
        if (::unshare(CLONE_NEWNS) != 0) {
            reason = QStringLiteral("cannot make a private mount namespace: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            result = 0;
        } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            reason = QStringLiteral("cannot make mounts private: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            result = 0;
        } else {
            result = 1;
        }
    }
    why = reason;
    return result == 1;
}

} // namespace

SmallDisk::SmallDisk(int sizeKiB)
{
    if (::geteuid() != 0) {
        why = QStringLiteral("a small tmpfs needs root");
        return;
    }
    if (!EnterPrivateMountNamespace(why))
        return;
    path = QDir::tempPath() + QStringLiteral("/carvestone-small-disk-%1-%2").arg(::getpid()).arg(quintptr(this));
    QDir().mkpath(path);
    const QByteArray options = "size=" + QByteArray::number(sizeKiB) + "k";
    if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData()) != 0) {
        why = QStringLiteral("cannot mount a tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        QDir().rmdir(path);
        return;
    }
    ready = true;
}

SmallDisk::~SmallDisk()
{
    if (!ready)
        return;
    ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    QDir().rmdir(path);
}

qint64 SmallDisk::FreeBytes() const
{
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool SmallDisk::LeaveFree(qint64 bytesLeft)
{
    const qint64 ballast = FreeBytes() - bytesLeft;
    if (ballast <= 0)
        return ballast == 0;
    QFile file(path + QStringLiteral("/ballast"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    return file.write(QByteArray(ballast, 'b')) == ballast && file.flush();
}
