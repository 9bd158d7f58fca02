#pragma once

#include <QString>

class QFileDevice;

// The message that names a file and the cause of a failed file operation,
// in the words the program uses everywhere ("Access to %1 was denied.").
class FileErrorText
{
public:
    // The cause is taken from a C errno value.
    static QString ForErrno(int errorNumber, const QString& path);
    // The cause is taken from errno as the failed operation on the device
    // left it, falling back on the device's own error kind.
    static QString ForDevice(const QFileDevice& device, int errorNumber, const QString& path);
};
