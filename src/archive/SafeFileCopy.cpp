#include "SafeFileCopy.h"

#include <QFile>
#include <QSaveFile>

#include <memory>

namespace {
constexpr qint64 CopyChunk = 1 << 20;

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

bool SafeFileCopy::CopyInto(const QString& source, QIODevice& output, QString* error)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return Fail(error, input.errorString());
    auto buffer = std::make_unique<char[]>(CopyChunk);
    for (;;) {
        const qint64 read = input.read(buffer.get(), CopyChunk);
        if (read < 0)
            return Fail(error, input.errorString());
        if (read == 0)
            return true;
        if (output.write(buffer.get(), read) != read)
            return Fail(error, output.errorString());
    }
}

bool SafeFileCopy::CopyReplacing(const QString& source, const QString& target, QString* error)
{
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return Fail(error, output.errorString());
    if (!CopyInto(source, output, error))
        return false;
    if (!output.commit())
        return Fail(error, output.errorString());
    return true;
}
