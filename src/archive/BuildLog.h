#pragma once

#include <QLatin1String>
#include <QString>

#include <functional>

// Receives the build log piece by piece, as the build appends it.  The
// building dialog shows it; the command line prints it.
class BuildLog
{
public:
    virtual ~BuildLog() = default;

    virtual void AppendLog(const QString& text) = 0;
    // A whole line of its own, ended as every log line is.
    void AppendLogLine(const QString& text) { AppendLog(text + QLatin1String("\r\n")); }
    // An entry's line: "Adding <entry>" before the work, which answers the
    // cause of a failure (empty on success), then " succeeded" or " failed"
    // and the cause on an indented line of its own.  True on success.
    bool AppendEntryLine(const QString& entry, const std::function<QString()>& add)
    {
        AppendLog(QStringLiteral("Adding "));
        AppendLog(entry);
        const QString cause = add();
        if (cause.isEmpty()) {
            AppendLog(QStringLiteral(" succeeded\r\n"));
            return true;
        }
        AppendLog(QStringLiteral(" failed\r\n"));
        AppendLogLine(QStringLiteral("    ") + cause);
        return false;
    }
};
