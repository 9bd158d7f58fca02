// Renders the main window with a demo project, the About box, the toolbar
// and the program's icon into PNG files, offscreen, so the pictures in the
// README and the desktop's icon sizes come from the running program.
// Usage: carvestone_screenshots OUTPUT-FOLDER [--icons]
// (run with QT_SCALE_FACTOR=2 to see the 200% rendering)

#include "app/CAboutDlg.h"
#include "app/CarvestoneSettings.h"
#include "browser/CLeftView.h"
#include "mainframe/CMainFrame.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"
#include "table_editor/CCarvestoneView.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolBar>
#include <QTreeWidget>

#include <cstdio>

namespace {

const char* const DemoEntries[] = {
    "data\\global\\excel\\armor.txt",      "data\\global\\excel\\weapons.txt",
    "data\\global\\excel\\UniqueItems.txt", "data\\global\\excel\\SetItems.txt",
    "data\\global\\excel\\misc.txt",        "data\\global\\ui\\cursor\\ohand.dc6",
    "data\\global\\sfx\\cursor\\button.wav", "data\\local\\lng\\eng\\patchstring.tbl",
    "readme.1st",
};

bool WriteDemoProject(const QString& folder, QString& projectPath)
{
    QDir().mkpath(folder);
    projectPath = folder + QStringLiteral("/Sunder.mod");
    QFile project(projectPath);
    if (!project.open(QIODevice::WriteOnly))
        return false;
    project.write("Carvestone Project File Version 1.0\n");
    for (const char* entry : DemoEntries) {
        project.write(entry);
        project.write("\n");
        QFile disk(folder + QLatin1Char('/') + QString::fromLatin1(entry).section(QLatin1Char('\\'), -1));
        if (!disk.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

bool Save(const QPixmap& picture, const QString& path)
{
    if (picture.save(path))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
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

// The Edit menu with a table open and a paste done, so its Undo item names
// the step, beside the toolbar with Undo enabled.
bool SaveEditMenu(CMainFrame& frame, CCarvestoneView& tables, const QString& folder, const QString& output)
{
    QFile table(folder + QStringLiteral("/weapons.txt"));
    if (!table.open(QIODevice::WriteOnly))
        return false;
    table.write("name\tcode\tlevel\r\nAxe\tax1\t10\r\nBow\tbow\t12\r\n");
    table.close();
    if (!tables.OpenTable(QStringLiteral("weapons.txt")))
        return false;
    frame.ActivateTableView();
    QApplication::clipboard()->setText(QStringLiteral("Sword\tsw1"));
    tables.OnCommand(CommandId::EditPaste);
    frame.UpdateCommandUi();
    QMenu* edit = frame.menuBar()->actions().value(1)->menu();
    edit->popup(frame.mapToGlobal(QPoint(40, 20)));
    QApplication::processEvents();
    const bool saved = Save(edit->grab(), output + QStringLiteral("/edit-menu.png"))
        && Save(frame.MainToolBar()->grab(), output + QStringLiteral("/toolbar-with-undo.png"));
    edit->hide();
    return saved;
}

// Stands for the application object, which offers these at all times.
struct ApplicationCommands : CommandTarget
{
    bool OnCommand(int) override { return false; }
    bool OnUpdateCommand(int id, CommandState& state) override
    {
        state.enabled = id == CommandId::FileNew || id == CommandId::FileOpen || id == CommandId::About
            || id == CommandId::Exit || id == CommandId::Options;
        return state.enabled;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: carvestone_screenshots OUTPUT-FOLDER [--icons]\n");
        return 2;
    }
    const QString output = arguments[1];
    QDir().mkpath(output);
    if (arguments.contains(QStringLiteral("--icons")))
        return SaveProgramIcons(output + QStringLiteral("/hicolor")) ? 0 : 1;

    QTemporaryDir mods;
    QString projectPath;
    if (!WriteDemoProject(mods.path() + QStringLiteral("/Sunder"), projectPath))
        return 1;
    CCarvestoneDoc doc;
    CMainFrame frame;
    CarvestoneSettings settings;
    const QString folder = mods.path() + QStringLiteral("/Sunder");
    auto* tables = new CCarvestoneView([folder] { return folder + QLatin1Char('/'); }, settings);
    frame.SetTableViewPane(tables, tables);
    ApplicationCommands application;
    frame.SetApplicationTarget(&application);
    doc.SetFrame(&frame);
    frame.SetDocument(&doc);
    if (doc.OpenProject(projectPath) != CCarvestoneDoc::OpenResult::Opened)
        return 1;
    frame.resize(960, 600);
    frame.show();
    QTreeWidget* tree = frame.GetTreeView();
    tree->setFocus();
    tree->setCurrentItem(tree->findItems(QStringLiteral("weapons.txt"), Qt::MatchExactly | Qt::MatchRecursive).value(0));
    frame.UpdateCommandUi();
    QApplication::processEvents();

    CAboutDlg about(&frame);
    about.show();
    QApplication::processEvents();
    const bool saved = Save(frame.grab(), output + QStringLiteral("/main-window.png"))
        && Save(about.grab(), output + QStringLiteral("/about.png"))
        && Save(frame.MainToolBar()->grab(), output + QStringLiteral("/toolbar.png"))
        && Save(tree->grab(), output + QStringLiteral("/tree.png"))
        && Save(IconSheet(), output + QStringLiteral("/icons.png"))
        && SaveEditMenu(frame, *tables, folder, output);
    return saved ? 0 : 1;
}
