#include "mainframe/CMainFrame.h"

#include "mainframe/CommandIds.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QStringList MenuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// The menus' own items are walked against the command table in the main window's test.
TEST(CMainFrame, RecentFilesReplaceThePlaceholderWithNumberedNativePathsAndGiveItBack)
{
    CMainFrame frame;
    frame.SetRecentFiles({"/mods/B/B.mod", "/mods/A&Co/A.mod"});
    const auto native = [](const char* path) { return QDir::toNativeSeparators(QString::fromLatin1(path)); };
    EXPECT_EQ(MenuTexts(frame.FileMenu()).mid(8, 4),
              QStringList({"-", "&1 " + native("/mods/B/B.mod"), "&2 " + native("/mods/A&&Co/A.mod"), "-"}));
    frame.SetRecentFiles({});
    EXPECT_EQ(MenuTexts(frame.FileMenu()).mid(8, 3), QStringList({"-", "Recent File", "-"}));
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

// Offers and records the commands it was given.
struct RecordingTarget : CommandTarget
{
    explicit RecordingTarget(QList<int> handles) : handled(std::move(handles)) {}
    bool OnCommand(int id) override { return handled.contains(id) && (received.append(id), true); }
    bool OnUpdateCommand(int id, CommandState& state) override { return state.enabled = handled.contains(id); }
    QList<int> handled, received;
};

TEST(CMainFrame, CommandsGoToTheActiveViewBeforeTheApplicationAndNobodysCommandsAreDisabled)
{
    CMainFrame frame;
    RecordingTarget view({CommandId::Build});
    RecordingTarget application({CommandId::Build, CommandId::About});
    frame.SetActiveView(&view);
    frame.SetApplicationTarget(&application);
    frame.UpdateCommandUi();
    EXPECT_TRUE(frame.Action(CommandId::Build)->isEnabled() && !frame.Action(CommandId::Install)->isEnabled());

    frame.Action(CommandId::Build)->trigger();
    frame.Action(CommandId::About)->trigger();
    EXPECT_EQ(view.received, QList<int>{CommandId::Build});
    EXPECT_EQ(application.received, QList<int>{CommandId::About});
    EXPECT_FALSE(frame.RouteCommand(CommandId::Install));
}

} // namespace
