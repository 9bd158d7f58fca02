#include "ProjectRecovery.h"

#include "CCarvestoneDoc.h"
#include "core/StringTable.h"
#include "model/FileStamp.h"
#include "model/ProjectEntry.h"
#include "ui/MessageBoxes.h"
#include "ui/TableViewPart.h"
#include "ui/UserDialogs.h"

#include <QFileInfo>

QString ProjectRecovery::ProjectFolder(const QString& projectPath)
{
    return projectPath.isEmpty() ? QString() : QFileInfo(projectPath).absolutePath() + QLatin1Char('/');
}

bool ProjectRecovery::FileChangedSince(const QString& projectFolder, const RecoveryRecord::Table& table)
{
    const QString path = ProjectEntry::DiskPath(projectFolder, table.name);
    const FileStamp now = FileStamp::Of(path);
    // A file that is gone has nothing newer to lose.
    return now.size >= 0 && now != FileStamp{table.savedSize, table.savedTime};
}

QString ProjectRecovery::CopyName(const QString& projectFolder, const QString& name, const TableViewPart& tables)
{
    const QFileInfo info(name);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString base = info.suffix().isEmpty() ? name : name.chopped(suffix.size());
    for (int number = 1;; ++number) {
        const QString mark = number == 1 ? QStringLiteral(" (recovered)") : QStringLiteral(" (recovered %1)").arg(number);
        const QString candidate = base + mark + suffix;
        if (!QFileInfo::exists(projectFolder + candidate) && !tables.IsTableOpen(candidate))
            return candidate;
    }
}

ProjectRecovery::Outcome ProjectRecovery::Restore(CCarvestoneDoc& document, TableViewPart& tables,
                                                   const RecoveryRecord& record)
{
    if (!document.RecoverProject(record.projectPath, record.projectModified ? &record.entries : nullptr))
        return Outcome::Failed;
    const QString folder = document.ProjectFolder();
    QStringList copies;
    bool whole = true;
    // Each table opens in the leftmost tab: from the right, they come back
    // in the order they had.
    for (auto table = record.tables.crbegin(); table != record.tables.crend(); ++table) {
        if (!table->modified) {
            tables.OpenTable(table->name);
            continue;
        }
        if (!FileChangedSince(folder, *table)) {
            whole = tables.OpenRecoveredTable(table->name, table->content, table->savedSize, table->savedTime) && whole;
            continue;
        }
        tables.OpenTable(table->name);
        const QString copy = CopyName(folder, table->name, tables);
        const bool opened = tables.OpenRecoveredTable(copy, table->content, -1, 0);
        if (opened)
            copies.append(QStringLiteral("%1: your version opens as %2").arg(table->name, copy));
        whole = opened && whole;
    }
    if (!copies.isEmpty())
        MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning,
                                    StringId::RecoveredAsCopies, {copies.join(QLatin1Char('\n'))});
    return whole ? Outcome::Whole : Outcome::Partly;
}
