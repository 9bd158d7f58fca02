#include "ProjectRecovery.h"

#include "CCarvestoneDoc.h"
#include "core/StringTable.h"
#include "ui/MessageBoxes.h"
#include "ui/TableViewPart.h"
#include "ui/UserDialogs.h"

#include <QFileInfo>

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
        if (!RecoveryRecord::FileChangedSince(folder, *table)) {
            whole = tables.OpenRecoveredTable(table->name, table->content, table->savedSize, table->savedTime) && whole;
            continue;
        }
        tables.OpenTable(table->name);
        const QString copy = RecoveryRecord::CopyName(table->name, [&](const QString& name) {
            return QFileInfo::exists(folder + name) || tables.IsTableOpen(name);
        });
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
