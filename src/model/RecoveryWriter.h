#pragma once

#include "RecoveryRecord.h"

#include <QLockFile>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// Writes this program's recovery record on a thread of its own, so that
// the disk (a sync can take a long moment) never holds up typing.  Only the
// newest wish counts: a record handed over while an older one is still
// waiting replaces it, and a removal replaces both.  The record is written
// through the safe-write path, so a kill in mid-write leaves the previous
// record whole.  The record's lock is taken with the first write and held
// until the writer goes, which marks the record as this running program's.
class RecoveryWriter
{
public:
    // Told after each write or removal, on the writer's thread: an empty
    // text for success, else what failed and why.
    using Report = std::function<void(const QString& error)>;

    // The record's name holds the process id and a number that tells apart
    // the writers of one process (the tests run several).
    RecoveryWriter(const QString& folder, Report report);
    // Finishes what was handed over; the record stays on disk as it is.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void Write(RecoveryRecord record);
    void Remove();
    // Waits until everything handed over is on disk (or removed).
    void Flush();

    const QString& RecordPath() const { return recordPath; }
    // A new number for each record name this process tries.
    static int NextSerial();

private:
    struct Work
    {
        std::optional<RecoveryRecord> record; // none: remove the record
    };

    void Run();
    void Hand(Work work);
    QString Carry(const Work& work);
    QString WriteRecord(const RecoveryRecord& record);
    QString RemoveRecord();

    QString folder;
    QString recordPath;
    Report report;
    std::unique_ptr<QLockFile> lock;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::optional<Work> pending;
    bool busy = false;
    bool stopping = false;
    std::thread thread;
};
