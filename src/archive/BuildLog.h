#pragma once

#include <QString>

// Receives the build log piece by piece, as the build appends it.  The
// building dialog shows it; the command line prints it.
class BuildLog
{
public:
    virtual ~BuildLog() = default;

    virtual void AppendLog(const QString& text) = 0;
};
