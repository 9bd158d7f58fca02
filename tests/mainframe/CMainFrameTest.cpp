#include "mainframe/CMainFrame.h"

#include "mainframe/CommandIds.h"
#include "mainframe/CommandTable.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// A target that handles the commands it is given and records the calls.
class RecordingTarget : public CommandTarget
{
public:
    explicit RecordingTarget(QList<int> handled)
        : handled(std::move(handled))
    {
    }

    bool OnCommand(int id) override
    {
        if (!handled.contains(id))
            return false;
        received.append(id);
        return true;
    }

    bool OnUpdateCommand(int id, CommandState& state) override
    {
        if (!handled.contains(id))
            return false;
        state.enabled = enable;
        return true;
    }

    QList<int> handled;
    QList<int> received;
    bool enable = true;
};

QStringList MenuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

TEST(CMainFrame, TheFileMenuHasItsItemsAndTheDocumentTakesSave)
{
    CMainFrame frame;
    CCarvestoneDoc doc;
    frame.SetDocument(&doc);
    frame.UpdateCommandUi();
    EXPECT_EQ(MenuTexts(frame.FileMenu()),
              QStringList({"&New", "&Open...", "&Save", "-", "Recent File", "-", "E&xit"}));
    EXPECT_FALSE(frame.FileMenu()->actions()[4]->isEnabled()) << "the recent-file placeholder";
    EXPECT_TRUE(frame.Action(CommandId::FileSave)->isEnabled());
    EXPECT_EQ(frame.Action(CommandId::FileSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(frame.Action(CommandId::FileNew)->statusTip(), QStringLiteral("Create a new document"));
    EXPECT_EQ(frame.Action(CommandId::FileOpen)->toolTip(), QStringLiteral("Open"));
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - Carvestone"));
}

TEST(CMainFrame, RecentFilesAreNumberedNewestFirstInPlaceOfThePlaceholder)
{
    CMainFrame frame;
    frame.SetRecentFiles({"/mods/B/B.mod", "/mods/A&Co/A.mod"});
    const auto native = [](const char* path) { return QDir::toNativeSeparators(QString::fromLatin1(path)); };
    EXPECT_EQ(MenuTexts(frame.FileMenu()).mid(3, 4),
              QStringList({"-", "&1 " + native("/mods/B/B.mod"), "&2 " + native("/mods/A&&Co/A.mod"), "-"}));
    const QString longPath = QStringLiteral("/very") + QString(200, QLatin1Char('x')) + QStringLiteral(".mod");
    EXPECT_LE(CMainFrame::RecentFileMenuText(1, longPath).size(), 70);

    frame.SetRecentFiles({});
    EXPECT_TRUE(MenuTexts(frame.FileMenu()).contains(QStringLiteral("Recent File")));
}

TEST(CMainFrame, CommandsGoToTheFirstTargetThatTakesThemAndUnhandledOnesAreDisabled)
{
    CMainFrame frame;
    RecordingTarget view({CommandId::FileSave});
    RecordingTarget application({CommandId::FileSave, CommandId::FileNew});
    frame.SetActiveView(&view);
    frame.SetApplicationTarget(&application);

    EXPECT_TRUE(frame.RouteCommand(CommandId::FileSave));
    EXPECT_TRUE(frame.RouteCommand(CommandId::FileNew));
    EXPECT_FALSE(frame.RouteCommand(CommandId::FileOpen));
    EXPECT_EQ(view.received, QList<int>({CommandId::FileSave}));
    EXPECT_EQ(application.received, QList<int>({CommandId::FileNew}));

    view.enable = false;
    Q_EMIT frame.FileMenu()->aboutToShow();
    EXPECT_FALSE(frame.Action(CommandId::FileSave)->isEnabled()) << "the view's answer counts, not the next one's";
    EXPECT_TRUE(frame.Action(CommandId::FileNew)->isEnabled());
    EXPECT_FALSE(frame.Action(CommandId::FileOpen)->isEnabled());

    frame.Action(CommandId::FileNew)->trigger();
    EXPECT_EQ(application.received.size(), 2);
}

TEST(CMainFrame, DroppedLocalFilesAreHandedOnInOrder)
{
    CMainFrame frame;
    frame.show();
    QSignalSpy dropped(&frame, &CMainFrame::FilesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/mods/A/A.mod"), QUrl(QStringLiteral("https://example.org/x.mod")),
                  QUrl::fromLocalFile("/mods/B/B.mod")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), QStringList({"/mods/A/A.mod", "/mods/B/B.mod"}));
}

TEST(CommandTable, EveryCommandWithAMenuTextHasItsStatusPrompt)
{
    for (const CommandDescriptor& command : CommandTable::All()) {
        if (!command.menuText.isEmpty()) {
            EXPECT_FALSE(StringTable::Prompt(command.id).isEmpty()) << command.id;
        }
    }
    EXPECT_EQ(CommandTable::Find(4711), nullptr);
}

} // namespace
