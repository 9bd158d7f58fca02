#pragma once

#include "TableMerge.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Carries a whole MOD over to new game data: every table of the MOD is
// merged (TableMerge) from its original, the new data's table and the
// MOD's own; nothing is written until every table merged, and then all of
// it or nothing.  Where the inputs come from (kept originals, archives read
// here or in a child process) is the caller's business.
class ModRebase
{
public:
    // One MOD file and what is known of it; a name says where its bytes
    // come from, for messages ("armor.txt in new.mpq").
    struct Source
    {
        QString entry;
        std::optional<QByteArray> base;
        QString baseName;
        std::optional<QByteArray> theirs;
        QString theirsName;
    };
    struct Table
    {
        QString entry;
        QString path;      // the MOD's file
        QByteArray ours;   // its bytes before the merge
        QByteArray theirs; // the new data's table: the original from now on
        TableMerge::Result merge;
    };

    explicit ModRebase(QString projectFolder) : projectFolder(std::move(projectFolder)) {}

    // Merges every table in memory.  False, with error naming the file and
    // the cause, when one cannot be merged (unreadable, not a table, no
    // heading in common, no original); then nothing may be written.
    bool Plan(const std::vector<Source>& sources, QString* error);
    const std::vector<Table>& Tables() const { return tables; }
    // The files left as they are, and why, one line each.
    const QStringList& Notes() const { return notes; }
    int ConflictCount() const;
    // "1 conflict", "2 conflicts"; "1 table", "2 tables".
    static QString ConflictsText(int count);
    static QString TablesText(int count);

    // Writes every merged table, then makes the new data's tables the kept
    // originals; the MOD's tables and originals as they were go into a new
    // backup folder in the project folder, whose path backupFolder receives.
    // A failure part-way leaves every file as it was.
    bool Apply(QString* backupFolder, QString* error) const;
    // "rebase-backup-<when>" in the project folder; a second one in the same
    // second gets "-2" and so on.
    QString NewBackupFolder(const QDateTime& when) const;

private:
    bool PlanTable(const Source& source, QString* error);

    QString projectFolder;
    std::vector<Table> tables;
    QStringList notes;
};
