#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Replaces several files as one: all of them or none.  Each file that
// exists is first copied into a backup folder; then the new contents are
// written one by one through SafeFileWriter.  Should one write fail, the
// files already replaced get their old bytes back from the backup (a file
// that did not exist goes again), so a failure part-way leaves every file
// as it was.  After a success the backup folder stays, for the person who
// wants the old files back.
class FileSetReplacer
{
public:
    explicit FileSetReplacer(QString backupFolder) : backupFolder(std::move(backupFolder)) {}

    // backupName: where the old file goes, relative to the backup folder.
    void Add(const QString& target, QByteArray bytes, const QString& backupName);
    // False, with every file as it was, when something could not be
    // written; error names the file and the cause.
    bool Commit(QString* error);

    // Makes the folder and those above it; false, with error naming what
    // stands in the way, when it cannot.
    static bool MakeFolder(const QString& folder, QString* error);

private:
    struct File
    {
        QString target;
        QByteArray bytes;
        QString backup;
        bool existed = false;
    };

    bool BackUp(QString* error);
    // Puts back the first `count` files; false when one could not be.
    bool Restore(size_t count, QString* error) const;

    QString backupFolder;
    std::vector<File> files;
};
