#pragma once

#include <QString>

class QIODevice;

// Copies files so that a failure never leaves a half-written file in place
// of a whole one: the copy goes to a temporary file in the target's folder,
// which replaces the target only once every byte is written.
class SafeFileCopy
{
public:
    // Copies source over target; on failure target is as it was and error
    // (when given) says why.
    static bool CopyReplacing(const QString& source, const QString& target, QString* error);
    // Streams the whole source file into an open device.
    static bool CopyInto(const QString& source, QIODevice& output, QString* error);
};
