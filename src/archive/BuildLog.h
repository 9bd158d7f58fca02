#pragma once

#include <QLatin1String>
#include <QString>

// Receives the build log piece by piece, as the build appends it.  The
// building dialog shows it; the command line prints it.
class BuildLog
{
public:
    virtual ~BuildLog() = default;

    virtual void AppendLog(const QString& text) = 0;
    // A whole line of its own, ended as every log line is.
    void AppendLogLine(const QString& text) { AppendLog(text + QLatin1String("\r\n")); }
};
