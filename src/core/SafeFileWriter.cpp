#include "SafeFileWriter.h"

#include "FileErrorText.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>

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

constexpr qint64 CopyChunk = 1 << 20;

bool Report(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
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

bool SafeFileWriter::WriteFrom(const QString& sourcePath)
{
    if (failed || !file.isOpen())
        return false;
    QFile source(sourcePath);
    errno = 0;
    if (!source.open(QIODevice::ReadOnly)) {
        const int cause = errno;
        Fail(cause);
        errorText = FileErrorText::ForDevice(source, cause, sourcePath);
        return false;
    }
    auto buffer = std::make_unique<char[]>(CopyChunk);
    for (;;) {
        errno = 0;
        const qint64 read = source.read(buffer.get(), CopyChunk);
        if (read < 0) {
            const int cause = errno;
            Fail(cause);
            errorText = FileErrorText::ForDevice(source, cause, sourcePath);
            return false;
        }
        if (read == 0)
            return true;
        if (!Write(buffer.get(), read))
            return false;
    }
}

bool SafeFileWriter::CopyFile(const QString& sourcePath, const QString& targetPath, QString* error)
{
    SafeFileWriter writer(targetPath);
    const bool copied = writer.Open() && writer.WriteFrom(sourcePath) && writer.Commit();
    if (!copied && error)
        *error = writer.ErrorText();
    return copied;
}

bool SafeFileWriter::CommitFinished(const QString& finishedPath, const QString& targetPath, QString* error)
{
    QFile finished(finishedPath);
    errno = 0;
    bool done = finished.open(QIODevice::ReadOnly) && SyncToDisk(finished.handle());
    int cause = errno;
    finished.close();
    if (done) {
        // std::filesystem replaces an existing target on every platform.
        std::error_code code;
        std::filesystem::rename(QFile::encodeName(finishedPath).toStdString(),
                                QFile::encodeName(targetPath).toStdString(), code);
        done = !code;
        cause = code.value();
    }
    if (!done) {
        QFile::remove(finishedPath);
        return Report(error, FileErrorText::ForErrno(cause != 0 ? cause : EIO, targetPath));
    }
    return true;
}
