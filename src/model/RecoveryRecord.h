#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What a running Carvestone has not saved yet, kept on disk so that a crash,
// a kill or a lost session does not take it: the project's path and, when
// its entry list has unsaved changes, that list; the tables open in the
// table view, left to right, each with its content when it holds unsaved
// changes.  A table also carries the size and time its file had when the
// table was last read or saved, so that a file changed since by another
// program is noticed instead of overwritten.
//
// The file is text lines and raw bytes: a header line, then fields written
// as "<key> <length>\n<length bytes>\n", closed by "end 0\n\n".  A table's
// bytes are stored as they are, so recording a large table costs a copy,
// not an encoding.
class RecoveryRecord
{
public:
    static const QByteArray Header; // "Carvestone Recovery Record Version 1"

    struct Table
    {
        QString name;         // the tab's name: a plain file name in the project folder
        bool modified = false;
        QByteArray content;   // the bytes a save would write; only when modified
        qint64 savedSize = -1; // -1: the table had no file (a recovered copy)
        qint64 savedTime = 0;  // the file's last change, ms since 1970 (UTC)
        bool operator==(const Table&) const = default;
    };

    qint64 processId = 0;
    qint64 writtenAt = 0; // ms since 1970 (UTC)
    QString projectPath;  // empty for an untitled project
    bool projectModified = false;
    QStringList entries; // the project's entry list; only when projectModified
    QList<Table> tables;

    bool operator==(const RecoveryRecord&) const = default;

    // True when there is anything to bring back.
    bool HoldsUnsavedWork() const;
    // The names of the tables holding unsaved changes.
    QStringList ModifiedTableNames() const;

    QByteArray Serialize() const;

    // The project folder of a recorded project path ("" for an untitled one).
    static QString ProjectFolderOf(const QString& projectPath);
    // True when the table's file is no longer the one its unsaved content
    // was edited from: another program wrote it since.  A file that is gone
    // has nothing newer to lose.
    static bool FileChangedSince(const QString& projectFolder, const Table& table);
    // The name under which a table's unsaved version comes back beside a
    // newer file: "Weapons (recovered).txt", numbered while taken says
    // the name is in use.
    static QString CopyName(const QString& name, const std::function<bool(const QString&)>& taken);

    enum class ParseResult {
        Read,
        Foreign, // not a record of this program's kind and version
        Damaged, // a record, but cut short or garbled
    };
    // Reads bytes into record; on failure cause says what is wrong in words
    // a modder understands and record holds nothing useful.
    static ParseResult Parse(QByteArrayView bytes, RecoveryRecord& record, QString& cause);
};
