#include "FileErrorText.h"

#include <QDir>
#include <QFileDevice>

#include <cerrno>

namespace {

QString TemplateForErrno(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("%1 was not found.");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
    case EISDIR:
        return QStringLiteral("%1 contains an invalid path.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("%1 could not be opened because there are too many open files.");
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
        return QStringLiteral("Access to %1 was denied.");
    case EBADF:
        return QStringLiteral("An invalid file handle was associated with %1.");
    case ESPIPE:
        return QStringLiteral("Seek failed on %1");
    case EIO:
        return QStringLiteral("A hardware I/O error was reported while accessing %1.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("A sharing violation occurred while accessing %1.");
    case ENOLCK:
        return QStringLiteral("A locking violation occurred while accessing %1.");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disk full while accessing %1.");
    case ENOMEM:
        return QStringLiteral("Out of memory.");
    default:
        return QStringLiteral("An unknown error occurred while accessing %1.");
    }
}

} // namespace

QString FileErrorText::ForErrno(int errorNumber, const QString& path)
{
    const QString text = TemplateForErrno(errorNumber);
    return text.contains(QLatin1String("%1")) ? text.arg(QDir::toNativeSeparators(path)) : text;
}

QString FileErrorText::ForDevice(const QFileDevice& device, int errorNumber, const QString& path)
{
    if (errorNumber != 0)
        return ForErrno(errorNumber, path);
    switch (device.error()) {
    case QFileDevice::OpenError:
        return ForErrno(ENOENT, path);
    case QFileDevice::PermissionsError:
        return ForErrno(EACCES, path);
    case QFileDevice::ResourceError:
        return ForErrno(ENOSPC, path);
    case QFileDevice::PositionError:
        return ForErrno(ESPIPE, path);
    case QFileDevice::ReadError:
    case QFileDevice::WriteError:
        return ForErrno(EIO, path);
    default:
        return ForErrno(0, path);
    }
}
