#include "CCarvestoneApp.h"

#include "CAboutDlg.h"
#include "archive/ArchiveBusy.h"
#include "archive/ModBuilder.h"
#include "archive/RemasterModLayout.h"
#include "browser/AddFileDialog.h"
#include "browser/CLeftView.h"
#include "changes/ChangesCommands.h"
#include "changes/ModChanges.h"
#include "core/GameInstallation.h"
#include "core/OptionsPathRules.h"
#include "core/RemasterInstallation.h"
#include "core/SafeFileCopy.h"
#include "core/StringTable.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CMainFrame.h"
#include "model/ProjectCreation.h"
#include "options/OptionsSheetSeam.h"
#include "project/CNewProjectDlg.h"
#include "project/ProjectRecovery.h"
#include "project/RecoveryDialog.h"
#include "table_editor/CCarvestoneView.h"
#include "table_editor/CommandBar.h"
#include "ui/CommandIds.h"
#include "ui/MessageBoxes.h"
#include "ui/TableViewPart.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QTimer>

namespace {

// While a question or an archive operation holds the program, a project
// handed over by another start waits this long before it tries again.
constexpr int ShellRequestRetryMs = 250;

} // namespace

CCarvestoneApp::CCarvestoneApp(QObject* parent)
    : QObject(parent)
{
    // The grid's failures (out of memory, characters a cell cannot hold)
    // reach the user like every other message.
    CGridCtrl::SetErrorReporter([](QWidget*, const QString& text) {
        MessageBoxes::ShowMessage(nullptr, UserDialogs::TypeOk, QStringLiteral("%s"), {text});
    });
}

CCarvestoneApp::~CCarvestoneApp()
{
    if (store)
        StoreRecentFiles(false);
    // An orderly end: whatever is unsaved now, the person chose not to keep.
    keeper.reset();
    // The window goes before the document it shows; what follows the
    // window's table view goes before the window.
    changeCommands.reset();
    mainFrame.reset();
    document.reset();
    CGridCtrl::SetErrorReporter(nullptr);
}

bool CCarvestoneApp::InitInstance(const QStringList& arguments)
{
    store = CarvestoneSettings::OpenStore();
    settings.Load(*store, GameInstallation::FindFolder(), QApplication::applicationDirPath(),
                  RemasterInstallation::FindFolder());
    CreateMainWindow();
    // Work an earlier run could not save comes back before anything else
    // opens, so that nothing asks about it or hides it.
    const bool recovered = OfferRecovery();

    if (settings.ModsPath.isEmpty())
        ApplyOptionsFirstRun();
    if (!recovered && !OpenStartupProject(arguments))
        return false;
    mainFrame->show();
    // The work that came back is where the person goes on typing.
    if (recovered && tableView->TableCount() > 0)
        mainFrame->ActivateTableView();
    mainFrame->UpdateCommandUi();
    return true;
}

bool CCarvestoneApp::OpenStartupProject(const QStringList& arguments)
{
    const QString commandLineFile = StartupFile(arguments);
    QString file = commandLineFile;
    if (file.isEmpty() && settings.OpenMostRecent) {
        const QString recent = settings.RecentFiles.value(0);
        if (!recent.isEmpty() && QFileInfo::exists(recent))
            file = recent;
    }
    if (!file.isEmpty() && OpenProjectFile(file) != CCarvestoneDoc::OpenResult::Opened) {
        // A project named on the command line was asked for by name: without
        // it there is nothing to start.  The most recent project is only a
        // convenience: it has been reported, so start as if there were none,
        // rather than locking the user out at every start.
        if (!commandLineFile.isEmpty())
            return false;
        RemoveFromRecentFileList(file);
        file.clear();
    }
    if (file.isEmpty()) {
        OnFileNew();
        if (document->GetPathName().isEmpty())
            document->OnNewDocument();
    }
    return true;
}

bool CCarvestoneApp::OfferRecovery()
{
    QList<RecoveryFolder::SetAside> setAside;
    const auto claims = RecoveryFolder(RecoveryFolder::DefaultPath()).ClaimOrphans(setAside);
    ReportSetAsideRecords(setAside);
    bool recovered = false;
    for (const auto& claim : claims) {
        // One project at a time: the others wait for a later start.
        if (recovered)
            break;
        if (!claim->Record().HoldsUnsavedWork()) {
            DiscardRecord(*claim);
            continue;
        }
        RecoveryDialog dialog(claim->Record());
        const int answer = UserDialogs::Current().Exec(dialog);
        // Closed without an answer: nothing is decided, the record stays.
        if (answer == QDialog::Rejected)
            continue;
        if (answer == QDialog::Accepted) {
            const ProjectRecovery::Outcome outcome = ProjectRecovery::Restore(*document, *tableView, claim->Record());
            if (outcome == ProjectRecovery::Outcome::Failed)
                continue;
            recovered = true;
            if (!document->GetPathName().isEmpty())
                AddToRecentFileList(document->GetPathName());
            // This run's record holds the work before the old one goes; a
            // record that did not come back whole stays for another try.
            keeper->RecordNow();
            if (outcome == ProjectRecovery::Outcome::Partly)
                continue;
        }
        DiscardRecord(*claim);
    }
    return recovered;
}

void CCarvestoneApp::ReportSetAsideRecords(const QList<RecoveryFolder::SetAside>& records)
{
    for (const RecoveryFolder::SetAside& record : records) {
        const QString path = QDir::toNativeSeparators(record.path);
        if (record.keptAs.isEmpty())
            MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning,
                                        StringId::RecordNotSetAside, {path, record.cause});
        else
            MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::RecordSetAside,
                                        {path, record.cause, QDir::toNativeSeparators(record.keptAs)});
    }
}

void CCarvestoneApp::DiscardRecord(RecoveryFolder::Claim& claim)
{
    QString error;
    if (!claim.Discard(&error))
        MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::RecordNotRemoved,
                                    {error});
}

void CCarvestoneApp::CreateMainWindow()
{
    document = std::make_unique<CCarvestoneDoc>();
    mainFrame = std::make_unique<CMainFrame>();
    MessageBoxes::SetDefaultOwner(mainFrame.get());
    mainFrame->SetDocument(document.get());
    mainFrame->SetApplicationTarget(this);
    mainFrame->SetRecentFiles(settings.RecentFiles);
    mainFrame->SetHelpFile(CarvestoneSettings::FindHelpFile(settings.ProgramFolder));
    archiveCommands.SetDocument(document.get());
    archiveCommands.SetOwner(mainFrame.get());
    archiveCommands.SetStatusReport([frame = mainFrame.get()](const QString& text) { frame->ShowStatusMessage(text); });
    connect(mainFrame.get(), &CMainFrame::FilesDropped, this, [this](const QStringList& paths) {
        for (const QString& path : paths)
            OpenDocumentFile(path);
    });
    connect(document.get(), &CCarvestoneDoc::PathChanged, this, &CCarvestoneApp::AddToRecentFileList);
    CreateTableView();
    CreateChanges();
    mainFrame->GetTreeView()->SetAddFilesRunner([this](const QString&) { return RunAddFileDialog(); });
    CreateRecoveryKeeper();
}

void CCarvestoneApp::CreateRecoveryKeeper()
{
    keeper = std::make_unique<RecoveryKeeper>(*document, *tableView, RecoveryFolder::DefaultPath());
    connect(document.get(), &CCarvestoneDoc::Changed, keeper.get(), &RecoveryKeeper::NoteChange);
    connect(tableView, &CCarvestoneView::TablesChanged, keeper.get(), &RecoveryKeeper::NoteChange);
    connect(keeper.get(), &RecoveryKeeper::RecordFailed, this, [](const QString& error) {
        MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::RecordNotWritten,
                                    {error});
    });
}

void CCarvestoneApp::CreateChanges()
{
    changeCommands = std::make_unique<ChangesCommands>(*document, settings, *mainFrame, *tableView);
    ModChanges* changes = &changeCommands->Changes();
    CLeftView* tree = mainFrame->GetTreeView();
    connect(changes, &ModChanges::Updated, tree, [tree, changes] { tree->SetChangeCounts(changes->Counts()); });
}

void CCarvestoneApp::CreateTableView()
{
    const CCarvestoneDoc* project = document.get();
    tableView = new CCarvestoneView([project] { return project->ProjectFolder(); }, settings);
    mainFrame->SetTableViewPane(tableView, tableView);
    // Another project's tables are not this one's: they close unasked,
    // after the save question of the project has been answered.
    connect(document.get(), &CCarvestoneDoc::ProjectReplaced, tableView, &CCarvestoneView::CloseAllTables);
    auto* bar = new CommandBar;
    bar->SetTableView(tableView);
    mainFrame->SetCommandBar(bar);
}

QStringList CCarvestoneApp::RunAddFileDialog()
{
    AddFileContext context;
    const bool remaster = document->Target() == BuildTarget::RemasterModFolder;
    context.modFolder = document->ProjectFolder();
    context.archivePath = remaster ? settings.RemasterDataPath : settings.GameMpqPath;
    context.programFolder = settings.ProgramFolder;
    context.listingPath = settings.ListingFilePath();
    context.projectEntries = document->FileList();
    context.projectFilePath = document->GetPathName();
    // The file the build writes beside the MOD's files, which no file of
    // the MOD may be named after: the archive, or the mod folder.
    context.modArchivePath = remaster ? RemasterModLayout::BuiltFolderForProject(document->GetPathName())
                                      : ModBuilder::ArchivePathForProject(document->GetPathName());
    QPointer<CCarvestoneView> tables = tableView;
    context.isTableOpen = [tables](const QString& name) { return tables && tables->IsTableOpen(name); };
    AddFileDialog dialog(context, mainFrame.get());
    UserDialogs::Current().Exec(dialog);
    return dialog.ResultList();
}

void CCarvestoneApp::ApplyOptionsFirstRun()
{
    settings.ModsPath = OptionsPathRules::FirstRunModsPath(settings.ProgramFolder);
    EditOptions();
    // The proposed folder may lie in documents that have no Carvestone
    // folder yet.
    QDir().mkpath(settings.ModsPath);
}

QString CCarvestoneApp::StartupFile(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-')))
            return QFileInfo(argument).absoluteFilePath();
    }
    return {};
}

bool CCarvestoneApp::EditOptions()
{
    const bool projectOpen = document && !document->GetPathName().isEmpty();
    OptionsValues values{settings.ModsPath,         settings.GameMpqPath,      settings.UseCompression,
                         settings.OpenMostRecent,   settings.GridFontName,     settings.GridFontSize,
                         settings.GridFontBold,     settings.GridFontItalic,   settings.RemasterDataPath,
                         settings.RemasterFolder(), settings.RemasterFolderFound, projectOpen,
                         projectOpen ? document->Target() : BuildTarget::ClassicPatchArchive};
    QWidget* owner = mainFrame && mainFrame->isVisible() ? mainFrame.get() : nullptr;
    if (!OptionsSheetSeam::Current().Edit(owner, values))
        return false;
    if (projectOpen)
        document->SetTarget(values.target);
    ApplyRemasterOptions(values);

    const QString modsPath = CarvestoneSettings::FolderWithSlash(QDir::fromNativeSeparators(values.modsPath));
    if (modsPath != settings.ModsPath)
        QDir().mkpath(modsPath);
    const QString mpqPath = QDir::fromNativeSeparators(values.gameMpqPath);
    settings.GameMpqPath = mpqPath;
    const QString safeKeeping = OptionsPathRules::SafeKeepingFolder(settings.ProgramFolder, store->fileName());
    if (!mpqPath.isEmpty() && !mpqPath.startsWith(settings.ProgramFolder, Qt::CaseInsensitive)
        && !mpqPath.startsWith(safeKeeping, Qt::CaseInsensitive)
        && MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeYesNo, StringId::CopyMpqForSafeKeeping) == UserDialogs::IdYes)
        settings.GameMpqPath = CopyForSafeKeeping(mpqPath, safeKeeping);

    settings.ModsPath = modsPath;
    settings.UseCompression = values.useCompression;
    settings.OpenMostRecent = values.openMostRecent;
    settings.GridFontName = values.gridFontName;
    settings.GridFontSize = values.gridFontSize;
    settings.GridFontBold = values.gridFontBold;
    settings.GridFontItalic = values.gridFontItalic;
    if (!settings.StoreOptions(*store))
        ReportSettingsNotSaved(*store);
    return true;
}

void CCarvestoneApp::ApplyRemasterOptions(const OptionsValues& values)
{
    settings.RemasterDataPath = QDir::fromNativeSeparators(values.remasterDataPath);
    // The folder found stays the one used, found afresh at every start,
    // until the person chooses another.
    const QString chosen = QDir::fromNativeSeparators(values.remasterFolder).trimmed();
    const QString folder = chosen.isEmpty() ? QString() : CarvestoneSettings::FolderWithSlash(chosen);
    settings.RemasterFolderChosen = folder == settings.RemasterFolderFound ? QString() : folder;
}

QString CCarvestoneApp::CopyForSafeKeeping(const QString& mpqPath, const QString& folder)
{
    const QString target = folder + QFileInfo(mpqPath).fileName();
    // An older copy may be the only one left of a game archive that has
    // since been patched or removed: it goes only when the person says so.
    if (QFileInfo::exists(target)
        && MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeYesNo | UserDialogs::IconQuestion, StringId::ReplaceSafeKeepingCopy,
                         {QDir::toNativeSeparators(target), QDir::toNativeSeparators(mpqPath)})
               != UserDialogs::IdYes)
        return mpqPath;
    QString error;
    if (SafeFileCopy::CopyReplacing(mpqPath, target, &error))
        return target;
    // The setting keeps naming a file that is there: the one the sheet chose.
    MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::CopyMpqFailed,
                  {QDir::toNativeSeparators(target), error, QDir::toNativeSeparators(mpqPath)});
    return mpqPath;
}

void CCarvestoneApp::ReportSettingsNotSaved(const QSettings& settingsStore)
{
    MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk | UserDialogs::IconError, StringId::SettingsNotSaved,
                  {QDir::toNativeSeparators(settingsStore.fileName())});
}

CCarvestoneDoc::OpenResult CCarvestoneApp::OpenProjectFile(const QString& path)
{
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    const CCarvestoneDoc::OpenResult result = document->OpenProject(absolutePath);
    if (result == CCarvestoneDoc::OpenResult::Opened)
        AddToRecentFileList(absolutePath);
    return result;
}

bool CCarvestoneApp::OpenDocumentFile(const QString& path)
{
    return OpenProjectFile(path) == CCarvestoneDoc::OpenResult::Opened;
}

void CCarvestoneApp::OnFileNew()
{
    CNewProjectDlg dialog(mainFrame && mainFrame->isVisible() ? mainFrame.get() : nullptr);
    while (UserDialogs::Current().Exec(dialog) == QDialog::Accepted) {
        const ProjectCreation::Result created =
            ProjectCreation::Create(settings.ModsPath, dialog.Name(), dialog.Target());
        switch (created.outcome) {
        case ProjectCreation::Outcome::NameMissing:
            MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk, StringId::ProjectNameMissing);
            break;
        case ProjectCreation::Outcome::InvalidName:
            MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk, StringId::BadProjectName);
            break;
        case ProjectCreation::Outcome::ProjectExists:
            MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk, StringId::ProjectExists, {dialog.Name()});
            break;
        case ProjectCreation::Outcome::FolderFailed:
            MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeOk, StringId::CreateFolderFailed,
                          {QDir::toNativeSeparators(created.projectFolder)});
            break;
        case ProjectCreation::Outcome::FileFailed:
            MessageBoxes::ShowMessage(nullptr, UserDialogs::TypeOk | UserDialogs::IconError, QStringLiteral("%s"),
                        {created.fileError});
            break;
        case ProjectCreation::Outcome::Created:
            if (OpenDocumentFile(created.projectFile))
                return;
            break;
        }
    }
}

void CCarvestoneApp::OnFileOpen()
{
    const QString path = UserDialogs::Current().OpenFileName(mainFrame.get(), StringTable::Get(StringId::OpenCaption),
                                                             settings.ModsPath, CCarvestoneDoc::FileFilter);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CCarvestoneApp::OnOpenRecentFile(int index)
{
    const QString path = settings.RecentFiles.value(index);
    if (path.isEmpty())
        return;
    // Only a file that could not be read leaves the list; cancelling the
    // save question keeps the entry.
    if (OpenProjectFile(path) == CCarvestoneDoc::OpenResult::Failed)
        RemoveFromRecentFileList(path);
}

void CCarvestoneApp::OnAppAbout()
{
    CAboutDlg about(mainFrame.get());
    UserDialogs::Current().Exec(about);
}

void CCarvestoneApp::OnOptions()
{
    EditOptions();
    // Whatever the answer, open tables show the font the settings hold,
    // and the changes are measured against the game archive they name.
    if (mainFrame && mainFrame->GetTableView())
        mainFrame->GetTableView()->ApplyGridFont();
    if (changeCommands)
        changeCommands->Changes().RefreshAll();
}

void CCarvestoneApp::OnShellOpenRequest(const QString& path)
{
    // Opening now would cut into the question or the operation under way.
    if (QApplication::activeModalWidget() || ArchiveBusy::IsBusy()) {
        QTimer::singleShot(ShellRequestRetryMs, this, [this, path] { OnShellOpenRequest(path); });
        return;
    }
    if (!path.isEmpty())
        OpenDocumentFile(path);
    if (mainFrame) {
        mainFrame->show();
        mainFrame->raise();
        mainFrame->activateWindow();
    }
}

void CCarvestoneApp::AddToRecentFileList(const QString& path)
{
    settings.AddRecentFile(path);
    StoreRecentFiles();
}

void CCarvestoneApp::RemoveFromRecentFileList(const QString& path)
{
    if (settings.RemoveRecentFile(path))
        StoreRecentFiles();
}

void CCarvestoneApp::StoreRecentFiles(bool reportFailure)
{
    if (mainFrame)
        mainFrame->SetRecentFiles(settings.RecentFiles);
    // A list that cannot be stored now is stored again at the next change
    // and when the program ends; saying so once is enough.
    if (settings.StoreRecentFiles(*store) || !reportFailure || recentFilesFailureReported)
        return;
    recentFilesFailureReported = true;
    ReportSettingsNotSaved(*store);
}

bool CCarvestoneApp::OnCommand(int id)
{
    if (archiveCommands.OnCommand(id) || (changeCommands && changeCommands->OnCommand(id)))
        return true;
    if (id >= CommandId::RecentFileFirst && id <= CommandId::RecentFileLast) {
        OnOpenRecentFile(id - CommandId::RecentFileFirst);
        return true;
    }
    switch (id) {
    case CommandId::FileNew:
        OnFileNew();
        return true;
    case CommandId::FileOpen:
        OnFileOpen();
        return true;
    case CommandId::Exit:
        if (mainFrame)
            mainFrame->close();
        return true;
    case CommandId::About:
        OnAppAbout();
        return true;
    case CommandId::Options:
        OnOptions();
        return true;
    default:
        return false;
    }
}

bool CCarvestoneApp::OnUpdateCommand(int id, CommandState& state)
{
    if (archiveCommands.OnUpdateCommand(id, state) || (changeCommands && changeCommands->OnUpdateCommand(id, state)))
        return true;
    if (id >= CommandId::RecentFileFirst && id <= CommandId::RecentFileLast) {
        state.enabled = id - CommandId::RecentFileFirst < settings.RecentFiles.size();
        return true;
    }
    if (id != CommandId::FileNew && id != CommandId::FileOpen && id != CommandId::Exit && id != CommandId::About
        && id != CommandId::Options)
        return false;
    state.enabled = true;
    return true;
}
