#include "SafeFileCopy.h"

#include "core/FileErrorText.h"
#include "core/SafeFileWriter.h"

#include <QFile>
#include <QFileDevice>

#include <cerrno>
#include <memory>

namespace {
constexpr qint64 CopyChunk = 1 << 20;

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

QString DeviceError(QIODevice& device, int cause, const QString& path)
{
    if (auto* file = qobject_cast<QFileDevice*>(&device))
        return FileErrorText::ForDevice(*file, cause, path);
    return FileErrorText::ForErrno(cause != 0 ? cause : EIO, path);
}
} // namespace

bool SafeFileCopy::CopyInto(const QString& source, QIODevice& output, const QString& shownOutputName,
                            QString* error)
{
    QFile input(source);
    errno = 0;
    if (!input.open(QIODevice::ReadOnly))
        return Fail(error, FileErrorText::ForDevice(input, errno, source));
    auto buffer = std::make_unique<char[]>(CopyChunk);
    auto* outputFile = qobject_cast<QFileDevice*>(&output);
    for (;;) {
        errno = 0;
        const qint64 read = input.read(buffer.get(), CopyChunk);
        if (read < 0)
            return Fail(error, FileErrorText::ForDevice(input, errno, source));
        if (read == 0)
            break;
        errno = 0;
        if (output.write(buffer.get(), read) != read)
            return Fail(error, DeviceError(output, errno, shownOutputName));
    }
    // A buffered device writes its last piece only now.
    errno = 0;
    if (outputFile && !outputFile->flush())
        return Fail(error, DeviceError(output, errno, shownOutputName));
    return true;
}

bool SafeFileCopy::CopyReplacing(const QString& source, const QString& target, QString* error)
{
    return SafeFileWriter::CopyFile(source, target, error);
}
