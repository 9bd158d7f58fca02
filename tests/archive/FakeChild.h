#pragma once

#include "archive/ArchiveJob.h"

#include <QCoreApplication>
#include <QTest>

// Where carvestone-cli is built: beside the test program.
inline QString BinFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1String("/");
}

inline bool RunToEnd(ArchiveJob& job)
{
    return QTest::qWaitFor([&] { return !job.IsRunning(); }, 60000);
}

// Puts a shell script in the place of carvestone-cli for the life of the instance.
class FakeChild
{
public:
    explicit FakeChild(const QString& script) { ArchiveJob::OverrideProgram(QStringLiteral("sh"), {QStringLiteral("-c"), script}); }
    ~FakeChild() { ArchiveJob::OverrideProgram({}); }
    FakeChild(const FakeChild&) = delete;
    FakeChild& operator=(const FakeChild&) = delete;
};
