#include "SafeFileWriter.h"

#include "FileErrorText.h"

#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// The cause QFileDevice records when errno no longer tells it.
int ErrnoForDeviceError(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::ResourceError:
        return ENOSPC;
    case QFileDevice::PermissionsError:
        return EACCES;
    case QFileDevice::OpenError:
        return ENOENT;
    case QFileDevice::WriteError:
    case QFileDevice::ReadError:
        return EIO;
    default:
        return 0;
    }
}

bool SyncToDisk(int handle)
{
#ifdef Q_OS_WIN
    return _commit(handle) == 0;
#else
    int result;
    do {
        result = ::fsync(handle);
    } while (result != 0 && errno == EINTR);
    // A file system that cannot sync (EINVAL) has nothing to sync to.
    return result == 0 || errno == EINVAL || errno == ENOTSUP;
#endif
}

} // namespace

SafeFileWriter::SafeFileWriter(const QString& targetPath)
    : target(targetPath)
    , file(targetPath)
{
    // The rename must replace the target in its own folder, or fail.
    file.setDirectWriteFallback(false);
}

SafeFileWriter::~SafeFileWriter()
{
    Cancel();
}

bool SafeFileWriter::Fail(int errnoValue)
{
    if (errnoValue == 0)
        errnoValue = ErrnoForDeviceError(file.error());
    errorNumber = errnoValue;
    errorText = FileErrorText::ForErrno(errnoValue, target);
    failed = true;
    file.cancelWriting();
    return false;
}

bool SafeFileWriter::Open()
{
    const QFileInfo existing(target);
    if (existing.isDir())
        return Fail(EISDIR);
    // Renaming would replace a read-only file that writing into could not.
    if (existing.exists() && !existing.isWritable())
        return Fail(EACCES);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fail(errno);
    return true;
}

bool SafeFileWriter::Write(QByteArrayView bytes)
{
    if (failed || !file.isOpen())
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return Fail(errno != 0 ? errno : ENOSPC);
        done += written;
    }
    return true;
}

bool SafeFileWriter::Commit()
{
    if (failed || !file.isOpen())
        return false;
    errno = 0;
    if (!file.flush() || !SyncToDisk(file.handle()))
        return Fail(errno);
    errno = 0;
    if (!file.commit()) {
        const int cause = errno;
        failed = true;
        errorNumber = cause != 0 ? cause : ErrnoForDeviceError(file.error());
        errorText = FileErrorText::ForErrno(errorNumber, target);
        return false;
    }
    return true;
}

void SafeFileWriter::Cancel()
{
    if (!file.isOpen())
        return;
    // Committing a cancelled QSaveFile removes its temporary file.
    file.cancelWriting();
    file.commit();
}

bool SafeFileWriter::WriteFile(const QString& targetPath, QByteArrayView bytes, QString* error)
{
    SafeFileWriter writer(targetPath);
    const bool written = writer.Open() && writer.Write(bytes) && writer.Commit();
    if (!written && error)
        *error = writer.ErrorText();
    return written;
}
