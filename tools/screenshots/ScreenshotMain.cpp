// Renders the README's pictures from the running program, offscreen: the
// real start-up with settings of its own and the demo archive as the game's,
// a new MOD, files added through the Add File dialog, two tables open and
// a cell changed, then the build; then a remaster MOD from the demo's
// extracted data, built and installed into a game folder of its own.  The
// keys and clicks are a person's, so the pictures stay true as the program
// changes.
// Usage: carvestone_screenshots OUTPUT-FOLDER     the README's pictures
//        carvestone_screenshots OUTPUT-FOLDER --icons   the desktop's icon sizes
//                                                       and a sheet of every icon
//        carvestone_screenshots OUTPUT-FOLDER --dark    the pictures in a dark
//                                                       palette, to look at them
// (run with QT_SCALE_FACTOR=2 to see the 200% rendering)

#include "ScreenshotDialogs.h"
#include "ScreenshotPalette.h"
#include "app/CAboutDlg.h"
#include "app/CCarvestoneApp.h"
#include "browser/AddFileDialog.h"
#include "browser/CLeftView.h"
#include "build_install/BuildingDialog.h"
#include "build_install/RemasterInstallDialog.h"
#include "core/SafeFolderReplace.h"
#include "changes/RebaseDialog.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CMainFrame.h"
#include "model/RecoveryRecord.h"
#include "project/CNewProjectDlg.h"
#include "project/RecoveryDialog.h"
#include "table_editor/CCarvestoneView.h"
#include "table_editor/CellNameEdit.h"
#include "table_editor/NameEntryDialog.h"
#include "ui/CommandIds.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>

namespace {

// What the MOD in the pictures takes from the demo archive: tables, a
// string table, an inventory picture and a sound, so the tree shows its kinds.
const QStringList AddedFiles = {"Armor.txt", "Weapons.txt", "UniqueItems.txt", "patchstring.tbl", "invdemo.dc6",
                                "demodrop.wav"};
constexpr int WorkTimeoutMs = 60000;

bool Save(const QPixmap& picture, const QString& path)
{
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "failed to write", qPrintable(path));
    return saved;
}

bool SaveProgramIcons(const QString& folder)
{
    QDir().mkpath(folder);
    const QIcon icon(QStringLiteral(":/icons/carvestone.svg"));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap picture = icon.pixmap(QSize(size, size), 1.0);
        if (!Save(picture, QStringLiteral("%1/carvestone-%2.png").arg(folder).arg(size)))
            return false;
    }
    return true;
}

// Every picture of the program at 16, 32 and 64 pixels, side by side, to
// look at them the way the toolbar, the trees and a 200% screen show them.
QPixmap IconSheet()
{
    const QStringList names = QDir(QStringLiteral(":/icons")).entryList();
    const QList<int> sizes = {16, 32, 64};
    QPixmap sheet(names.size() * 72 + 8, 16 + 32 + 64 + 32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (qsizetype index = 0; index < names.size(); ++index) {
        const QIcon icon(QStringLiteral(":/icons/") + names[index]);
        int y = 8;
        for (int size : sizes) {
            painter.drawPixmap(8 + int(index) * 72, y, icon.pixmap(size, size));
            y += size + 8;
        }
    }
    return sheet;
}

// Settings of their own with a MODs folder already chosen, the demo archive
// copied into a game folder and the remaster's demo data into a folder of
// its own, so the pictures show the paths a modder sees rather than the
// build folder's.
bool PrepareSettings(const QTemporaryDir& root)
{
    qputenv("CARVESTONE_CONFIG_DIR", root.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("CARVESTONE_DATA_DIR", root.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("WINEPREFIX", root.filePath(QStringLiteral("no-wine")).toLocal8Bit());
    const QString mods = root.filePath(QStringLiteral("MODs"));
    const QString game = root.filePath(QStringLiteral("Diablo II"));
    const QString gameMpq = game + QStringLiteral("/patch_d2.mpq");
    const QString demoMpq = CarvestoneSettings::DefaultGameMpqPath(
        {}, CarvestoneSettings::FindDataFolder(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    if (!QDir().mkpath(mods) || !QDir().mkpath(game) || !QFile::copy(demoMpq, gameMpq)) {
        std::fprintf(stderr, "cannot prepare the game folder from %s\n", qPrintable(demoMpq));
        return false;
    }
    // The remaster's demo data where a modder's extraction would put it.
    const QString remaster = root.filePath(QStringLiteral("Diablo II Resurrected"));
    const QString extracted = root.filePath(QStringLiteral("D2R extracted"));
    const QString demoData = CarvestoneSettings::DefaultRemasterDataPath(
        CarvestoneSettings::FindDataFolder(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    QString error;
    if (!QDir().mkpath(extracted) || !SafeFolderReplace::CopyTree(demoData, extracted, extracted, &error)) {
        std::fprintf(stderr, "cannot copy the remaster's demo data: %s\n", qPrintable(error));
        return false;
    }
    const auto store = CarvestoneSettings::OpenStore();
    store->setValue(QStringLiteral("Settings/MODs Path"), mods + QLatin1Char('/'));
    store->setValue(QStringLiteral("Settings/Diablo II MPQ"), gameMpq);
    store->setValue(QStringLiteral("Settings/Remaster Folder"), remaster + QLatin1Char('/'));
    store->setValue(QStringLiteral("Settings/Remaster Data"), extracted);
    return QDir().mkpath(remaster);
}

void ShowAndWait(QWidget& window)
{
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
}

// The dialog's owner gets the keys back, as a window manager gives them.
int Closed(QDialog& dialog)
{
    if (QWidget* owner = dialog.parentWidget()) {
        owner->window()->activateWindow();
        (void)QTest::qWaitForWindowActive(owner->window());
    }
    return dialog.result();
}

QTreeWidgetItem* FindItem(const QTreeWidget& tree, const QString& text)
{
    return tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

bool ClickItem(QTreeWidget& tree, const QString& text)
{
    QTreeWidgetItem* item = FindItem(tree, text);
    if (!item) {
        std::fprintf(stderr, "no %s in the tree\n", qPrintable(text));
        return false;
    }
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
    return true;
}

// A key to whatever has the focus, and the commands it posted run.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (QWidget* target = QApplication::focusWidget())
        QTest::keyClick(target, key, modifiers);
    QCoreApplication::processEvents();
}

ScreenshotDialogs::Step NewProject(const QString& name)
{
    return [name](QDialog& dialog) {
        auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
        ShowAndWait(newProject);
        QTest::keyClicks(newProject.NameEdit(), name);
        QTest::mouseClick(newProject.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return newProject.result();
    };
}

// The remaster chosen for the new MOD; the picture shows the dialog filled in.
ScreenshotDialogs::Step NewRemasterProject(const QString& name, const QString& picture, bool& saved)
{
    return [name, picture, &saved](QDialog& dialog) {
        auto& newProject = dynamic_cast<CNewProjectDlg&>(dialog);
        ShowAndWait(newProject);
        QTest::keyClicks(newProject.NameEdit(), name);
        QTest::mouseClick(newProject.RemasterButton(), Qt::LeftButton);
        saved = Save(newProject.grab(), picture);
        QTest::mouseClick(newProject.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return newProject.result();
    };
}

ScreenshotDialogs::Step Installed(const QString& picture, bool& saved)
{
    return [picture, &saved](QDialog& dialog) {
        auto& note = dynamic_cast<RemasterInstallDialog&>(dialog);
        ShowAndWait(note);
        saved = QTest::qWaitFor([&] { return note.IsFinished(); }, WorkTimeoutMs);
        QTest::mouseClick(note.CopyButton(), Qt::LeftButton);
        saved = Save(note.grab(), picture) && saved;
        QTest::mouseClick(note.OkButton(), Qt::LeftButton);
        return Closed(note);
    };
}

// Tools > Install, clicked in the menu bar and then in the menu.
bool ClickInstall(CMainFrame& frame)
{
    QAction* install = frame.Action(CommandId::Install);
    QMenuBar* bar = frame.menuBar();
    QAction* tools = bar->actions().value(3);
    if (!QTest::qWaitFor([&] { return install->isEnabled(); }, WorkTimeoutMs))
        return false;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools).center());
    if (!QTest::qWaitFor([&] { return tools->menu()->isVisible(); }, WorkTimeoutMs))
        return false;
    QTest::mouseClick(tools->menu(), Qt::LeftButton, {}, tools->menu()->actionGeometry(install).center());
    return true;
}

// Adds each file with a click on it and on Add; the picture shows the
// dialog with the weapons table chosen.
ScreenshotDialogs::Step AddFiles(const QString& picture, bool& saved, const QStringList& files = AddedFiles,
                                 const QString& shown = QStringLiteral("Weapons.txt"))
{
    return [picture, &saved, files, shown](QDialog& dialog) {
        auto& add = dynamic_cast<AddFileDialog&>(dialog);
        // Tall enough for the whole demo archive, so the picture needs no scrolling.
        add.resize(560, 640);
        ShowAndWait(add);
        const auto idle = [&add] { return !add.IsWorking(); };
        saved = QTest::qWaitFor(idle, WorkTimeoutMs);
        add.Tree()->expandAll();
        for (const QString& name : files) {
            saved = ClickItem(*add.Tree(), name) && saved;
            QTest::mouseClick(add.AddButton(), Qt::LeftButton);
            saved = QTest::qWaitFor(idle, WorkTimeoutMs) && saved;
        }
        saved = ClickItem(*add.Tree(), shown) && saved;
        saved = Save(add.grab(), picture) && saved;
        QTest::mouseClick(add.CloseButton(), Qt::LeftButton);
        return Closed(add);
    };
}

ScreenshotDialogs::Step Build(const QString& picture, bool& saved)
{
    return [picture, &saved](QDialog& dialog) {
        auto& building = dynamic_cast<BuildingDialog&>(dialog);
        ShowAndWait(building);
        saved = QTest::qWaitFor([&] { return building.IsFinished(); }, WorkTimeoutMs);
        saved = Save(building.grab(), picture) && saved;
        QTest::mouseClick(building.OkButton(), Qt::LeftButton);
        return Closed(building);
    };
}

// Types the name of a new row and presses OK.
ScreenshotDialogs::Step NameRow(const QString& name)
{
    return [name](QDialog& dialog) {
        auto& entry = dynamic_cast<NameEntryDialog&>(dialog);
        ShowAndWait(entry);
        QTest::keyClicks(entry.NameEdit(), name);
        QTest::mouseClick(entry.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return Closed(entry);
    };
}

// The preview of the weapons table, read from the new data; nothing is written.
ScreenshotDialogs::Step PreviewRebase(const QString& picture, bool& saved)
{
    return [picture, &saved](QDialog& dialog) {
        auto& rebase = dynamic_cast<RebaseDialog&>(dialog);
        rebase.resize(980, 560);
        ShowAndWait(rebase);
        saved = QTest::qWaitFor([&] { return !rebase.IsReading(); }, WorkTimeoutMs);
        const QList<QListWidgetItem*> weapons = rebase.Tables()->findItems("Weapons.txt", Qt::MatchStartsWith);
        saved = !weapons.isEmpty() && saved;
        if (!weapons.isEmpty())
            rebase.Tables()->setCurrentItem(weapons.first());
        saved = Save(rebase.grab(), picture) && saved;
        QTest::mouseClick(rebase.CancelButton(), Qt::LeftButton);
        return Closed(rebase);
    };
}

bool OpenTable(CMainFrame& frame, const QString& name)
{
    if (!ClickItem(*frame.GetTreeView(), name))
        return false;
    Press(Qt::Key_Return);
    return frame.GetTableView()->IsTableOpen(name);
}

// A weapon's damage becomes the value: a click on the cell, the number
// typed, Enter.
bool EditWeaponsCell(CMainFrame& frame, const QString& weapon, const QString& heading, const QString& value)
{
    CGridCtrl* grid = frame.GetTableView()->GetCurrentGrid();
    int row = 0, column = 0;
    for (int r = 1; r < grid->GetRowCount() && row == 0; ++r)
        row = grid->GetCellText(r, 0) == weapon ? r : 0;
    for (int c = 1; c < grid->GetColumnCount() && column == 0; ++c)
        column = grid->GetCellText(0, c) == heading ? c : 0;
    QRect cell;
    if (row == 0 || column == 0 || !grid->GetCellRect(row, column, &cell))
        return false;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClicks(grid, value.left(1));
    QTest::keyClicks(QApplication::focusWidget(), value.mid(1));
    Press(Qt::Key_Return);
    return grid->GetCellText(row, column) == value;
}

// The weapons table with its edits tinted and every change of the MOD
// listed below it.
bool ShowChanges(CMainFrame& frame, const QString& picture)
{
    frame.RouteCommand(CommandId::AddRow);
    bool shown = EditWeaponsCell(frame, QStringLiteral("Brass Maul"), QStringLiteral("maxdam"), QStringLiteral("60"));
    // The focus away from the edited cells, so their tint shows.
    Press(Qt::Key_Down);
    Press(Qt::Key_Left);
    frame.resize(1000, 760);
    frame.RouteCommand(CommandId::ChangesList);
    auto* list = frame.findChild<QDockWidget*>(QStringLiteral("ChangesDock"));
    if (list)
        frame.resizeDocks({list}, {170}, Qt::Vertical);
    QTest::qWait(CMainFrame::EnablingIntervalMs * 2);
    const bool saved = Save(frame.grab(), picture) && shown && list;
    frame.RouteCommand(CommandId::ChangesList);
    frame.resize(1000, 640);
    return saved;
}

// A remaster MOD: the New Project dialog with the remaster chosen, the
// demo's extracted data in the Add File dialog, the build's log and the
// note after the install.
bool MakeRemasterPictures(CMainFrame& frame, ScreenshotDialogs& person, const QString& output)
{
    bool named = false, added = false, built = false, installed = false;
    person.Then(NewRemasterProject(QStringLiteral("Sharper"), output + QStringLiteral("/new-remaster-project.png"), named));
    person.Then(AddFiles(output + QStringLiteral("/add-file-remaster.png"), added,
                         {QStringLiteral("weapons.txt"), QStringLiteral("armor.txt")}, QStringLiteral("weapons.txt")));
    person.Then(Build(output + QStringLiteral("/building-remaster.png"), built));
    person.AnswerMessage(UserDialogs::IdYes);
    person.Then(Installed(output + QStringLiteral("/remaster-installed.png"), installed));

    Press(Qt::Key_N, Qt::ControlModifier);
    frame.activateWindow();
    (void)QTest::qWaitForWindowActive(&frame);
    bool saved = named && ClickItem(*frame.GetTreeView(), QStringLiteral("Sharper.mod"));
    QTest::qWait(CMainFrame::EnablingIntervalMs * 2);
    Press(Qt::Key_Insert);
    saved = added && OpenTable(frame, QStringLiteral("weapons.txt"))
        && EditWeaponsCell(frame, QStringLiteral("Thorn Sickle"), QStringLiteral("mindam"), QStringLiteral("45"))
        && saved;
    Press(Qt::Key_S, Qt::ControlModifier);
    QTest::qWait(CMainFrame::EnablingIntervalMs * 2);
    Press(Qt::Key_F7);
    saved = built && ClickInstall(frame) && installed && saved;
    return saved;
}

// The question the next start asks after a crash, about the unsaved work
// the main window's picture shows: the record the program keeps of it.
bool SaveRecoveryQuestion(CCarvestoneApp& carvestone, const QString& picture)
{
    carvestone.Keeper()->RecordNow();
    QFile file(carvestone.Keeper()->RecordPath());
    RecoveryRecord record;
    QString cause;
    if (!file.open(QIODevice::ReadOnly)
        || RecoveryRecord::Parse(file.readAll(), record, cause) != RecoveryRecord::ParseResult::Read) {
        std::fprintf(stderr, "no recovery record to show: %s\n", qPrintable(cause));
        return false;
    }
    RecoveryDialog question(record);
    ShowAndWait(question);
    return Save(question.grab(), picture);
}

bool MakePictures(const QString& output)
{
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/carvestone-demo-XXXXXX"));
    if (!PrepareSettings(root))
        return false;
    ScreenshotDialogs person;
    bool added = false, built = false;
    bool previewed = false;
    person.Then(NewProject(QStringLiteral("Weapons")));
    person.Then(AddFiles(output + QStringLiteral("/add-file.png"), added));
    person.Then(NameRow(QStringLiteral("Carvestone Cleaver")));
    person.Then(Build(output + QStringLiteral("/building.png"), built));
    person.Then(PreviewRebase(output + QStringLiteral("/rebase.png"), previewed));

    CCarvestoneApp carvestone;
    if (!carvestone.InitInstance({}))
        return false;
    CMainFrame& frame = *carvestone.MainFrame();
    frame.resize(1000, 640);
    frame.activateWindow();
    (void)QTest::qWaitForWindowActive(&frame);

    bool saved = ClickItem(*frame.GetTreeView(), QStringLiteral("Weapons.mod"));
    // The pane before any table opens says what to do next.
    saved = Save(frame.grab(), output + QStringLiteral("/empty-pane.png")) && saved;
    Press(Qt::Key_Insert);
    saved = added && OpenTable(frame, QStringLiteral("Armor.txt")) && OpenTable(frame, QStringLiteral("Weapons.txt"))
        && EditWeaponsCell(frame, QStringLiteral("Thorn Sickle"), QStringLiteral("mindam"), QStringLiteral("45"))
        && saved;
    QTest::qWait(CMainFrame::EnablingIntervalMs * 2);
    saved = Save(frame.grab(), output + QStringLiteral("/main-window.png")) && saved;
    saved = SaveRecoveryQuestion(carvestone, output + QStringLiteral("/recover.png")) && saved;
    // The question had the focus: the keys below are the main window's again.
    frame.activateWindow();
    (void)QTest::qWaitForWindowActive(&frame);
    saved = ShowChanges(frame, output + QStringLiteral("/changes.png")) && saved;

    Press(Qt::Key_S, Qt::ControlModifier);
    QTest::qWait(CMainFrame::EnablingIntervalMs * 2);
    Press(Qt::Key_F7);

    // The MOD as built stands for new game data that has the MOD's 45
    // already; the MOD then makes it 50, which both sides changed.
    saved = EditWeaponsCell(frame, QStringLiteral("Thorn Sickle"), QStringLiteral("mindam"), QStringLiteral("50"))
        && EditWeaponsCell(frame, QStringLiteral("Thorn Fang"), QStringLiteral("maxdam"), QStringLiteral("14")) && saved;
    person.AnswerFile(QFileInfo(carvestone.Document()->GetPathName()).absolutePath() + QStringLiteral("/Weapons.mpq"));
    person.AnswerMessage(UserDialogs::IdOk);
    frame.RouteCommand(CommandId::RebaseMod);

    CAboutDlg about(&frame);
    ShowAndWait(about);
    saved = Save(about.grab(), output + QStringLiteral("/about.png")) && saved;
    about.close();
    frame.activateWindow();
    (void)QTest::qWaitForWindowActive(&frame);
    saved = MakeRemasterPictures(frame, person, output) && saved;
    return saved && built && previewed && person.AllStepsTaken() && person.Unexpected() == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    UseDarkPaletteWhenAsked(arguments);
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: carvestone_screenshots OUTPUT-FOLDER [--icons]\n");
        return 2;
    }
    const QString output = QFileInfo(arguments[1]).absoluteFilePath();
    QDir().mkpath(output);
    if (arguments.contains(QStringLiteral("--icons")))
        return SaveProgramIcons(output + QStringLiteral("/hicolor")) && Save(IconSheet(), output + QStringLiteral("/icons.png")) ? 0 : 1;
    return MakePictures(output) ? 0 : 1;
}
