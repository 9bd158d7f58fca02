#pragma once

#include "archive/MpqLibrary.h"
#include "build_install/BuildInstallCommands.h"
#include "core/CarvestoneSettings.h"
#include "project/CCarvestoneDoc.h"
#include "model/RecoveryFolder.h"
#include "project/RecoveryKeeper.h"
#include "ui/CommandTarget.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CCarvestoneView;
class CMainFrame;
class ChangesCommands;
class QSettings;
struct OptionsValues;
class QWidget;

// The application object: starts the program, holds the settings, the open
// project and the main window for the whole run, handles New, Open, the
// recent files and Exit.
class CCarvestoneApp : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    explicit CCarvestoneApp(QObject* parent = nullptr);
    ~CCarvestoneApp() override;

    // The start-up sequence.  arguments are the command line without the
    // program's name.  False ends the program without a main window.
    bool InitInstance(const QStringList& arguments);

    CarvestoneSettings& Settings() { return settings; }
    const CarvestoneSettings& Settings() const { return settings; }
    CCarvestoneDoc* Document() const { return document.get(); }
    // The one binding to the archive library, for every archive operation.
    MpqLibrary& GetMpqLibrary() { return mpqLibrary; }
    CMainFrame* MainFrame() const { return mainFrame.get(); }
    ChangesCommands* Changes() const { return changeCommands.get(); }
    // Keeps the record of this run's unsaved work.
    RecoveryKeeper* Keeper() const { return keeper.get(); }

    // Shows the options and, on OK, applies and stores them.  True on OK.
    bool EditOptions();
    // Opens a project (after the save question) and puts it at the top of
    // the recent files.
    bool OpenDocumentFile(const QString& path);
    // The New command's creation loop.
    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(int index);
    void OnAppAbout();
    // The Options command: the options sheet, then the table view takes
    // the grid font the settings now hold.
    void OnOptions();
    // A project handed over by another start of the program; it waits
    // while a modal window or an archive operation is under way.
    void OnShellOpenRequest(const QString& path);
    // The project file named on a command line (without the program's
    // name), made absolute; empty when none is named.
    static QString StartupFile(const QStringList& arguments);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

private:
    void CreateMainWindow();
    void CreateTableView();
    // What the MOD changes against the game: the list, the counts in the
    // tree, the originals of open tables, the rebase.
    void CreateChanges();
    void CreateRecoveryKeeper();
    // Offers back the unsaved work of earlier runs that ended without
    // saving it; true when a project came back (it is open then).
    bool OfferRecovery();
    void ReportSetAsideRecords(const QList<RecoveryFolder::SetAside>& records);
    static void DiscardRecord(RecoveryFolder::Claim& claim);
    // The Add File to MOD dialog for the open project; the names it placed.
    QStringList RunAddFileDialog();
    void ApplyOptionsFirstRun();
    void ApplyRemasterOptions(const OptionsValues& values);
    // The project named on the command line, else the most recent one,
    // else a new one; false when the one named cannot be opened.
    bool OpenStartupProject(const QStringList& arguments);
    CCarvestoneDoc::OpenResult OpenProjectFile(const QString& path);
    void AddToRecentFileList(const QString& path);
    void RemoveFromRecentFileList(const QString& path);
    // The first failure of a run is reported; the program's end reports none.
    void StoreRecentFiles(bool reportFailure = true);
    void ReportSettingsNotSaved(const QSettings& store);
    // Copies the game archive into folder (asking before it replaces an
    // older copy); answers the path the setting is to name.
    QString CopyForSafeKeeping(const QString& mpqPath, const QString& folder);

    CarvestoneSettings settings;
    MpqLibrary mpqLibrary;
    BuildInstallCommands archiveCommands{mpqLibrary, settings};
    std::unique_ptr<QSettings> store;
    std::unique_ptr<CCarvestoneDoc> document;
    std::unique_ptr<CMainFrame> mainFrame;
    CCarvestoneView* tableView = nullptr; // owned by the main window
    std::unique_ptr<ChangesCommands> changeCommands;
    std::unique_ptr<RecoveryKeeper> keeper;

    bool recentFilesFailureReported = false;
};
