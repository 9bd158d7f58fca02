#include "ModRebase.h"

#include "EntryDiff.h"
#include "KeptOriginals.h"
#include "ProjectEntry.h"
#include "TableFile.h"
#include "TableKeys.h"
#include "core/FileErrorText.h"
#include "core/FileSetReplacer.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace {

bool ShareAHeading(const TableFile& first, const TableFile& second)
{
    const std::vector<QByteArray> firstKeys = TableKeys::Columns(first);
    const std::vector<QByteArray> secondKeys = TableKeys::Columns(second);
    return std::any_of(firstKeys.cbegin(), firstKeys.cend(), [&secondKeys](const QByteArray& key) {
        return std::find(secondKeys.cbegin(), secondKeys.cend(), key) != secondKeys.cend();
    });
}

QString Shown(const QString& name)
{
    return QDir::toNativeSeparators(name);
}

} // namespace

bool ModRebase::Plan(const std::vector<Source>& sources, QString* error)
{
    tables.clear();
    notes.clear();
    for (const Source& source : sources) {
        if (!PlanTable(source, error))
            return false;
    }
    return true;
}

bool ModRebase::PlanTable(const Source& source, QString* error)
{
    if (!EntryDiff::IsTableName(source.entry)) {
        notes.append(QStringLiteral("%1 is not a table: left as it is").arg(source.entry));
        return true;
    }
    if (!source.theirs) {
        notes.append(QStringLiteral("%1 is not in the new game data: left as it is").arg(source.entry));
        return true;
    }
    const QString path = ProjectEntry::DiskPath(projectFolder, source.entry);
    QByteArray ours;
    if (path.isEmpty()) {
        *error = FileErrorText::ForErrno(EINVAL, source.entry);
        return false;
    }
    if (!TableFile::ReadFile(path, &ours, error))
        return false;
    if (!source.base) {
        *error = QStringLiteral("%1 has no original to merge from: it came from disk, or entered the MOD before "
                                "Carvestone kept originals; name the game data it was made for as the base")
                     .arg(source.entry);
        return false;
    }
    const TableFile base = TableFile::Parse(*source.base);
    const TableFile theirs = TableFile::Parse(*source.theirs);
    const TableFile mine = TableFile::Parse(ours);
    for (const auto& [table, name] : {std::pair{&mine, path}, {&base, source.baseName}, {&theirs, source.theirsName}}) {
        if (!table->IsTabSeparated()) {
            *error = QStringLiteral("%1 is not a tab-separated table").arg(Shown(name));
            return false;
        }
    }
    for (const auto& [table, name] : {std::pair{&base, source.baseName}, {&theirs, source.theirsName}}) {
        if (!ShareAHeading(mine, *table)) {
            *error = QStringLiteral("the headings of %1 have nothing in common with those of %2")
                         .arg(Shown(path), Shown(name));
            return false;
        }
    }
    Table planned{source.entry, path, ours, *source.theirs, {}};
    // New data equal to the original brings nothing to carry over.
    planned.merge = *source.base == *source.theirs ? TableMerge::Result{ours, {}} : TableMerge::Merge(base, theirs, mine);
    tables.push_back(std::move(planned));
    return true;
}

int ModRebase::ConflictCount() const
{
    int count = 0;
    for (const Table& table : tables)
        count += int(table.merge.conflicts.size());
    return count;
}

QString ModRebase::ConflictsText(int count)
{
    return count == 1 ? QStringLiteral("1 conflict") : QStringLiteral("%1 conflicts").arg(count);
}

QString ModRebase::TablesText(int count)
{
    return count == 1 ? QStringLiteral("1 table") : QStringLiteral("%1 tables").arg(count);
}

QString ModRebase::NewBackupFolder(const QDateTime& when) const
{
    const QString stem = projectFolder + QStringLiteral("rebase-backup-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString folder = stem;
    for (int number = 2; QFileInfo::exists(folder); ++number)
        folder = stem + QLatin1Char('-') + QString::number(number);
    return folder;
}

bool ModRebase::Apply(QString* backupFolder, QString* error) const
{
    const QString folder = NewBackupFolder(QDateTime::currentDateTime());
    FileSetReplacer replacer(folder);
    bool anything = false;
    // Tables first: the originals change only once every table is written.
    for (const Table& table : tables) {
        if (table.merge.bytes != table.ours) {
            replacer.Add(table.path, table.merge.bytes, ProjectEntry::NamePart(table.entry));
            anything = true;
        }
    }
    const KeptOriginals originals(projectFolder);
    for (const Table& table : tables) {
        if (originals.Read(table.entry) != table.theirs) {
            replacer.Add(originals.PathOf(table.entry), table.theirs,
                         QStringLiteral("originals/") + ProjectEntry::NamePart(table.entry));
            anything = true;
        }
    }
    if (!anything) {
        backupFolder->clear();
        return true;
    }
    if (!replacer.Commit(error))
        return false;
    *backupFolder = folder;
    return true;
}
