#pragma once

#include <QString>

class QIODevice;

// Copies files so that a failure never leaves a half-written file in place
// of a whole one; the replacing copy is SafeFileWriter's.
class SafeFileCopy
{
public:
    // Copies source over target; on failure target is as it was and error
    // (when given) names the file and the cause.
    static bool CopyReplacing(const QString& source, const QString& target, QString* error);
    // Streams the whole source file into an open device, every write and
    // the final flush checked; errors name the output as shownOutputName
    // (the file the user knows, not a temporary one).
    static bool CopyInto(const QString& source, QIODevice& output, const QString& shownOutputName,
                         QString* error);
};
