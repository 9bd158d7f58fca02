#pragma once

#include "RecoveryRecord.h"

#include <QList>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

// The folder of recovery records in the user's data folder: one record a
// running program, "<process id>-<n>.recovery", beside the lock file that
// the program holds for as long as it runs.  A record whose lock can be
// taken belongs to a program that is gone (killed, crashed, its session
// lost): that is the only kind a start may offer back or remove, so two
// running programs never touch each other's record.
class RecoveryFolder
{
public:
    static constexpr const char* RecordSuffix = ".recovery";

    // $CARVESTONE_DATA_DIR/recovery when that variable is set, else
    // "recovery" in the program's data folder (QStandardPaths).
    static QString DefaultPath();

    explicit RecoveryFolder(QString path) : folder(std::move(path)) {}
    const QString& Path() const { return folder; }

    // A record left behind by a program that is gone, held by this one
    // (its lock taken) until Discard or until the claim goes away, which
    // leaves the record for a later start.
    class Claim
    {
    public:
        Claim(QString path, RecoveryRecord record, std::unique_ptr<QLockFile> lock);
        ~Claim();
        const QString& Path() const { return path; }
        const RecoveryRecord& Record() const { return record; }
        // Removes the record; false with error naming it when it stays.
        bool Discard(QString* error);

    private:
        QString path;
        RecoveryRecord record;
        std::unique_ptr<QLockFile> lock;
    };

    // A record that could not be read: renamed so that it is never offered
    // again and nothing of it is lost, with the reason.
    struct SetAside
    {
        QString path;
        QString keptAs; // empty when even the renaming failed
        QString cause;
    };

    // The records of programs that are gone, newest first.  Unreadable ones
    // are set aside and listed in setAside instead.  Locks that programs
    // left without a record go.
    std::vector<std::unique_ptr<Claim>> ClaimOrphans(QList<SetAside>& setAside) const;

    // The path of the record a program with that process id writes as its
    // serial-th writer.
    QString RecordPath(qint64 processId, int serial) const;
    static QString LockPath(const QString& recordPath) { return recordPath + QStringLiteral(".lock"); }
    // A lock that only a process that is gone loses: Qt's default would
    // take a running program's lock after 30 seconds.
    static std::unique_ptr<QLockFile> MakeLock(const QString& recordPath);

private:
    QString SetAsidePath(const QString& recordPath) const;
    void RemoveLocksWithoutRecord() const;

    QString folder;
};
