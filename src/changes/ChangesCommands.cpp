#include "ChangesCommands.h"

#include "ChangesDock.h"
#include "GameCopies.h"
#include "ModChanges.h"
#include "RebaseDialog.h"
#include "archive/ArchiveBusy.h"
#include "core/CarvestoneSettings.h"
#include "project/CCarvestoneDoc.h"
#include "table_editor/CCarvestoneView.h"
#include "ui/CommandIds.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>

ChangesCommands::ChangesCommands(CCarvestoneDoc& document, const CarvestoneSettings& settings, QMainWindow& window,
                                 CCarvestoneView& tableView)
    : document(document)
    , settings(settings)
    , window(window)
    , tableView(tableView)
    , copies(std::make_unique<GameCopies>(settings.ProgramFolder))
    , changes(std::make_unique<ModChanges>(document, settings, *copies))
    , dock(new ChangesDock(*changes, &window))
{
    changes->SetTableView(&tableView);
    dock->SetTableView(&tableView);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    ModChanges* mod = changes.get();
    connect(&tableView, &CCarvestoneView::OriginalWanted, mod, &ModChanges::OfferOriginal);
    connect(&tableView, &CCarvestoneView::ChangesCounted, mod, [mod](const QString& name) { mod->RefreshFile(name); });
    connect(&tableView, &CCarvestoneView::TableClosed, mod, &ModChanges::RefreshFile);
    for (auto signal : {&CCarvestoneDoc::ProjectReplaced, &CCarvestoneDoc::EntriesChanged})
        connect(&document, signal, mod, &ModChanges::RefreshAll);
    connect(&document, &CCarvestoneDoc::PathChanged, mod, &ModChanges::RefreshAll);
    changes->RefreshAll();
}

ChangesCommands::~ChangesCommands() = default;

bool ChangesCommands::CloseTablesFirst()
{
    if (tableView.TableCount() == 0)
        return true;
    // The merge rewrites the tables' files: an open tab would show, and
    // could save over, what they were.
    if (MessageBoxes::ShowMessage(&window, UserDialogs::TypeOkCancel | UserDialogs::IconQuestion,
                                  QStringLiteral("The open tables are saved and closed before the MOD is carried "
                                                 "over to the new game data."))
        != UserDialogs::IdOk)
        return false;
    if (!tableView.SaveAllModifiedTables())
        return false;
    tableView.CloseAllTables();
    return true;
}

void ChangesCommands::OnRebase()
{
    const QString onto = UserDialogs::Current().OpenFileName(
        &window, QStringLiteral("Rebase onto New Game Data"), QFileInfo(settings.GameMpqPath).absolutePath(),
        QStringLiteral("Diablo II MPQ (*.mpq)"));
    if (onto.isEmpty() || !CloseTablesFirst())
        return;
    RebaseDialog dialog(document, settings, *copies, onto, &window);
    const bool rebased = UserDialogs::Current().Exec(dialog) == QDialog::Accepted;
    changes->RefreshAll();
    if (!rebased)
        return;
    const int tables = int(dialog.Rebase().Tables().size());
    QString text = QStringLiteral("%1 carried over to %2, with %3 (the MOD's values stayed).")
                       .arg(ModRebase::TablesText(tables) + (tables == 1 ? QStringLiteral(" was") : QStringLiteral(" were")),
                            QDir::toNativeSeparators(onto), ModRebase::ConflictsText(dialog.Rebase().ConflictCount()));
    if (!dialog.BackupFolder().isEmpty())
        text += QStringLiteral("\nThe tables as they were are in %1.").arg(QDir::toNativeSeparators(dialog.BackupFolder()));
    MessageBoxes::ShowMessage(&window, UserDialogs::TypeOk | UserDialogs::IconInformation, QStringLiteral("%s"), {text});
}

bool ChangesCommands::OnCommand(int id)
{
    if (id == CommandId::ChangesList)
        dock->setVisible(dock->isHidden());
    else if (id == CommandId::RebaseMod)
        OnRebase();
    else
        return false;
    return true;
}

bool ChangesCommands::OnUpdateCommand(int id, CommandState& state)
{
    if (id == CommandId::ChangesList) {
        state.enabled = true;
        state.checked = !dock->isHidden();
    } else if (id == CommandId::RebaseMod) {
        state.whyDisabled = ArchiveBusy::IsBusy()              ? QStringLiteral("archive work is under way")
            : document.GetPathName().isEmpty()                 ? QStringLiteral("the project is not saved yet")
            : document.FileList().isEmpty()                    ? QStringLiteral("the MOD holds no files")
                                                               : QString();
        state.enabled = state.whyDisabled.isEmpty();
    } else {
        return false;
    }
    return true;
}
