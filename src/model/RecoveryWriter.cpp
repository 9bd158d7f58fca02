#include "RecoveryWriter.h"

#include "RecoveryFolder.h"
#include "core/FileErrorText.h"
#include "core/SafeFileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>

namespace {

// A name no record or lock holds yet: a record left by an earlier program
// that had this process id is someone's unsaved work, never overwritten.
QString FreeRecordPath(const QString& folder)
{
    const RecoveryFolder records(folder);
    for (;;) {
        const QString path = records.RecordPath(QCoreApplication::applicationPid(), RecoveryWriter::NextSerial());
        if (!QFile::exists(path) && !QFile::exists(RecoveryFolder::LockPath(path)))
            return path;
    }
}

} // namespace

RecoveryWriter::RecoveryWriter(const QString& folder, Report report)
    : folder(folder)
    , recordPath(FreeRecordPath(folder))
    , report(std::move(report))
    , lock(RecoveryFolder::MakeLock(recordPath))
    , thread([this] { Run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        const std::lock_guard guard(mutex);
        stopping = true;
    }
    wake.notify_one();
    thread.join();
}

int RecoveryWriter::NextSerial()
{
    static std::atomic<int> serial{0};
    return ++serial;
}

void RecoveryWriter::Write(RecoveryRecord record)
{
    Hand(Work{std::move(record)});
}

void RecoveryWriter::Remove()
{
    Hand(Work{std::nullopt});
}

void RecoveryWriter::Hand(Work work)
{
    {
        const std::lock_guard guard(mutex);
        pending = std::move(work);
    }
    wake.notify_one();
}

void RecoveryWriter::Flush()
{
    std::unique_lock guard(mutex);
    idle.wait(guard, [this] { return !pending && !busy; });
}

void RecoveryWriter::Run()
{
    std::unique_lock guard(mutex);
    for (;;) {
        wake.wait(guard, [this] { return pending || stopping; });
        // What was handed over before the end is still carried out.
        if (!pending)
            break;
        Work work = std::move(*pending);
        pending.reset();
        busy = true;
        guard.unlock();
        const QString error = Carry(work);
        if (report)
            report(error);
        guard.lock();
        busy = false;
        idle.notify_all();
    }
}

QString RecoveryWriter::Carry(const Work& work)
{
    return work.record ? WriteRecord(*work.record) : RemoveRecord();
}

QString RecoveryWriter::WriteRecord(const RecoveryRecord& record)
{
    if (!lock->isLocked()) {
        QDir().mkpath(folder);
        // Left over from an earlier program with the same process id, or
        // held by one: either way not ours to write over.
        if (!lock->tryLock(0))
            return FileErrorText::ForErrno(EACCES, QDir::toNativeSeparators(RecoveryFolder::LockPath(recordPath)));
    }
    QString error;
    SafeFileWriter::WriteFile(recordPath, record.Serialize(), &error);
    return error;
}

QString RecoveryWriter::RemoveRecord()
{
    QFile file(recordPath);
    errno = 0;
    if (file.exists() && !file.remove())
        return FileErrorText::ForDevice(file, errno, QDir::toNativeSeparators(recordPath));
    return {};
}
