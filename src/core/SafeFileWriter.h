#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

// Replaces a file only once every byte of its new content is on disk.  The
// content goes to a temporary file in the target's folder, written without
// a buffer so that every write's result is known (Qt 6.4's QSaveFile alone
// reports success when its last buffered write fails), synced, and renamed
// over the target.  Any failure leaves the old file byte for byte; the error
// text names the target, never the temporary file, and the cause.
class SafeFileWriter
{
public:
    explicit SafeFileWriter(const QString& targetPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool Open();
    bool Write(QByteArrayView bytes);
    bool Write(const char* data, qint64 size) { return Write(QByteArrayView(data, size)); }
    // Syncs and renames; after a failure nothing of the new content remains.
    bool Commit();
    // Drops the new content; the target stays as it was.
    void Cancel();

    // The device the content goes to, for code that streams into a
    // QIODevice; every write through it must still be checked.
    QIODevice& Device() { return file; }
    const QString& TargetPath() const { return target; }
    // "Disk full while accessing <target>." and the like; empty before a failure.
    const QString& ErrorText() const { return errorText; }
    int ErrorNumber() const { return errorNumber; }

    // Streams the whole source into the new content; a source that cannot
    // be read fails with a text naming the source.
    bool WriteFrom(const QString& sourcePath);

    // Open, Write and Commit in one; error (when given) receives ErrorText.
    static bool WriteFile(const QString& targetPath, QByteArrayView bytes, QString* error);
    // Open, WriteFrom and Commit in one: a copy that replaces target whole or not at all.
    static bool CopyFile(const QString& sourcePath, const QString& targetPath, QString* error);
    // The last step for a file another writer (the archive library) made
    // beside the target: sync it, then rename it over the target.  On
    // failure the target is as it was and the finished file is removed.
    static bool CommitFinished(const QString& finishedPath, const QString& targetPath, QString* error);

private:
    bool Fail(int errnoValue);

    QString target;
    QSaveFile file;
    QString errorText;
    int errorNumber = 0;
    bool failed = false;
};
