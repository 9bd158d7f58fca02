// The recovery record kept by the real program while a person edits, and
// what the next start makes of a record left behind: a program "crashes"
// here by leaving its record's bytes under another program's name.
#include "app/CCarvestoneApp.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "browser/CLeftView.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CMainFrame.h"
#include "model/FileStamp.h"
#include "model/RecoveryFolder.h"
#include "project/RecoveryDialog.h"
#include "table_editor/CCarvestoneView.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

constexpr int WaitMs = 10000;
const QByteArray WeaponsBytes = "name\tmindam\r\nThorn Sickle\t3\r\n";
const QByteArray ArmorBytes = "name\tac\r\nQuilted\t8\r\n";

class RecoveryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("WINEPREFIX", temp.filePath(QStringLiteral("no-wine")).toLocal8Bit());
        QDir().mkpath(Folder());
        project = TestFiles::Write(Folder() + QStringLiteral("Mod.mod"),
                                   "Carvestone Project File Version 1.0\r\ndata\\global\\excel\\Armor.txt\r\n"
                                   "data\\global\\excel\\Weapons.txt\r\n");
        TestFiles::Write(Folder() + QStringLiteral("Weapons.txt"), WeaponsBytes);
        TestFiles::Write(Folder() + QStringLiteral("Armor.txt"), ArmorBytes);
        const auto store = CarvestoneSettings::OpenStore();
        store->clear();
        store->setValue(QStringLiteral("Settings/MODs Path"), temp.path() + QStringLiteral("/"));
        store->setValue(QStringLiteral("Recent File List/File1"), project);
        QDir(Records()).removeRecursively();
    }

    QString Folder() const { return temp.filePath(QStringLiteral("Mod/")); }
    static QString Records() { return RecoveryFolder::DefaultPath(); }
    static QStringList RecordFiles() { return QDir(Records()).entryList({QStringLiteral("*.recovery*")}, QDir::Files); }
    QString LastMessage() const { return dialogs.Messages().isEmpty() ? QString() : dialogs.Messages().last().text; }

    void Start()
    {
        app = std::make_unique<CCarvestoneApp>();
        ASSERT_TRUE(app->InitInstance({}));
        app->MainFrame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->MainFrame()));
    }
    CCarvestoneView& Tables() const { return dynamic_cast<CCarvestoneView&>(*app->MainFrame()->GetTableView()); }

    void Open(const QString& name)
    {
        CLeftView& tree = *app->MainFrame()->GetTreeView();
        QTreeWidgetItem* item = tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
        QTest::keyClick(&tree, Qt::Key_Return);
        QCoreApplication::processEvents();
        ASSERT_TRUE(Tables().IsTableOpen(name));
    }

    // Types into the current table's focus cell and presses Enter.
    void Type(const QString& text)
    {
        QTest::keyClicks(Tables().GetCurrentGrid(), text.left(1));
        QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }

    static RecoveryRecord ReadRecord(const QString& path)
    {
        RecoveryRecord record;
        QString cause;
        EXPECT_EQ(RecoveryRecord::Parse(TestFiles::Read(path), record, cause), RecoveryRecord::ParseResult::Read)
            << cause.toStdString();
        return record;
    }

    // The program ends as a kill ends it: its record stays, its lock is gone.
    void Crash()
    {
        app->Keeper()->RecordNow();
        const QByteArray bytes = TestFiles::Read(app->Keeper()->RecordPath());
        app.reset();
        TestFiles::Write(Records() + QStringLiteral("/99999-1.recovery"), bytes);
    }

    void AnswerRecovery(std::function<void(RecoveryDialog&)> answer)
    {
        dialogs.AnswerDialog([answer](QDialog& dialog) {
            auto& question = dynamic_cast<RecoveryDialog&>(dialog);
            question.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&question));
            answer(question);
            return question.result();
        });
    }

    static QStringList Rows(const QTreeWidget& list)
    {
        QStringList rows;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&list)); *it; ++it)
            rows.append((*it)->text(0) + QStringLiteral(": ") + (*it)->text(1));
        return rows;
    }

    // Without the count of changes against the game: that count follows
    // when the game archive's copy of the table has been read, in its own time.
    QStringList TabTexts() const
    {
        static const QRegularExpression count(QStringLiteral(" \\(\\d+\\)$"));
        QStringList texts;
        for (int index = 0; index < Tables().TabBar()->count(); ++index)
            texts.append(Tables().TabBar()->tabText(index).remove(count));
        return texts;
    }

    QTemporaryDir temp;
    QString project;
    ScriptedDialogs dialogs;
    std::unique_ptr<CCarvestoneApp> app;
};

TEST_F(RecoveryTest, TheRecordFollowsEditsSoonAfterTheyStopAndGoesWithASaveADiscardingCloseAndAnOrderlyEnd)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Weapons.txt")));
    const QString record = app->Keeper()->RecordPath();
    Type(QStringLiteral("45"));
    EXPECT_FALSE(QFile::exists(record)) << "typing is not interrupted: the record waits for a quiet moment";
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, WaitMs));
    RecoveryRecord kept = ReadRecord(record);
    EXPECT_EQ(kept.processId, QCoreApplication::applicationPid());
    EXPECT_EQ(kept.projectPath, project);
    EXPECT_FALSE(kept.projectModified);
    ASSERT_EQ(kept.tables.size(), 1);
    EXPECT_EQ(kept.tables[0].content, "name\tmindam\r\nThorn Sickle\t45\r\n");
    EXPECT_EQ(kept.tables[0].savedSize, WeaponsBytes.size());

    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(record); }, 1000)) << "nothing unsaved: the record goes at once";

    Type(QStringLiteral("50"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, WaitMs));
    dialogs.AnswerMessage(UserDialogs::IdNo);
    app->MainFrame()->RouteCommand(CommandId::CloseFile);
    EXPECT_EQ(LastMessage(), QStringLiteral("Do you wish to save changes to Weapons.txt?"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(record); }, 1000));

    // The project's own changes count as well, and an orderly end, which
    // has asked its questions, leaves nothing behind.
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Armor.txt")));
    app->Document()->AddFile(QStringLiteral("data\\global\\excel\\Misc.txt"));
    app->Keeper()->RecordNow();
    kept = ReadRecord(record);
    EXPECT_TRUE(kept.projectModified);
    EXPECT_TRUE(kept.entries.contains(QStringLiteral("data\\global\\excel\\Misc.txt")));
    ASSERT_EQ(kept.tables.size(), 1);
    EXPECT_FALSE(kept.tables[0].modified);
    EXPECT_TRUE(kept.tables[0].content.isNull());
    app.reset();
    EXPECT_EQ(RecordFiles(), QStringList());
    EXPECT_EQ(TestFiles::Read(Folder() + QStringLiteral("Weapons.txt")), "name\tmindam\r\nThorn Sickle\t45\r\n");
}

TEST_F(RecoveryTest, RecoverBringsBackTheEntryListAndTablesAndATableChangedOnDiskSinceOpensBesideItsCopy)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    app->Document()->AddFile(QStringLiteral("data\\global\\excel\\Misc.txt"));
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Weapons.txt")));
    Type(QStringLiteral("45"));
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Armor.txt")));
    Type(QStringLiteral("77"));
    Crash();
    const QByteArray newerArmor = "name\tac\r\nQuilted\t9\r\nLeather\t14\r\n";
    TestFiles::Write(Folder() + QStringLiteral("Armor.txt"), newerArmor);

    QStringList listed;
    AnswerRecovery([&](RecoveryDialog& question) {
        listed = Rows(*question.List());
        QTest::mouseClick(question.RecoverButton(), Qt::LeftButton);
    });
    dialogs.AnswerMessage(UserDialogs::IdOk);
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(listed, QStringList({QStringLiteral("Mod.mod: the project's unsaved file list"),
                                   QStringLiteral("Armor.txt: unsaved changes; the file was changed on disk since, so they "
                                                  "come back as a copy"),
                                   QStringLiteral("Weapons.txt: unsaved changes")}));
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("Armor.txt: your version opens as Armor (recovered).txt")))
        << LastMessage().toStdString();

    // Both versions of the armor table, the recovered one as a copy; the
    // tables in their order; all that was unsaved is unsaved again.
    EXPECT_EQ(TabTexts(), QStringList({QStringLiteral("Armor (recovered).txt*"), QStringLiteral("Armor.txt"),
                                       QStringLiteral("Weapons.txt*")}));
    EXPECT_EQ(Tables().GetCurrentGrid()->GetCellText(1, 1), QStringLiteral("77"));
    EXPECT_EQ(Tables().GridAt(1)->GetCellText(2, 0), QStringLiteral("Leather"));
    EXPECT_EQ(Tables().GridAt(2)->GetCellText(1, 1), QStringLiteral("45"));
    EXPECT_TRUE(Tables().GetCurrentGrid()->hasFocus()) << "the work that came back has the keyboard";
    EXPECT_TRUE(app->Document()->Model().IsModified());
    EXPECT_TRUE(app->Document()->FileList().contains(QStringLiteral("data\\global\\excel\\Misc.txt")));
    EXPECT_EQ(TestFiles::Read(Folder() + QStringLiteral("Armor.txt")), newerArmor);
    EXPECT_EQ(TestFiles::Read(Folder() + QStringLiteral("Weapons.txt")), WeaponsBytes);
    EXPECT_EQ(RecordFiles(), QStringList({QFileInfo(app->Keeper()->RecordPath()).fileName(),
                                          QFileInfo(app->Keeper()->RecordPath()).fileName() + QStringLiteral(".lock")}))
        << "the work is this run's record, the killed program's is gone";

    // An undo back to the recovered state is not the saved file: the
    // recovered table stays modified until it is saved.
    Type(QStringLiteral("78"));
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Tables().GetCurrentGrid()->GetCellText(1, 1), QStringLiteral("77"));
    EXPECT_TRUE(Tables().GetCurrentGrid()->GetModified());
    EXPECT_EQ(TabTexts().first(), QStringLiteral("Armor (recovered).txt*"));
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(TestFiles::Read(Folder() + QStringLiteral("Armor (recovered).txt")), "name\tac\r\nQuilted\t77\r\n");
    EXPECT_EQ(TestFiles::Read(Folder() + QStringLiteral("Armor.txt")), newerArmor);
    EXPECT_EQ(TestFiles::Read(Folder() + QStringLiteral("Weapons.txt")), "name\tmindam\r\nThorn Sickle\t45\r\n");
    EXPECT_EQ(TabTexts(), QStringList({QStringLiteral("Armor (recovered).txt"), QStringLiteral("Armor.txt"),
                                       QStringLiteral("Weapons.txt")}));
}

TEST_F(RecoveryTest, AnUnreadableRecordIsSetAsideAClosedQuestionDecidesNothingAndDiscardRemovesTheRecord)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Weapons.txt")));
    Type(QStringLiteral("45"));
    Crash();
    const QString damaged = Records() + QStringLiteral("/5-1.recovery");
    TestFiles::Write(damaged, "Carvestone Recovery Record Version 1\nprocess 1\n5\nend 0\n");

    dialogs.AnswerMessage(UserDialogs::IdOk);
    AnswerRecovery([](RecoveryDialog& question) { question.reject(); });
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(dialogs.Messages().first().text,
              QStringLiteral("The recovery record %1 could not be read: it is cut short or garbled.\n"
                             "It was set aside as %1.damaged.")
                  .arg(QDir::toNativeSeparators(damaged)));
    EXPECT_EQ(app->Document()->GetPathName(), project) << "the start goes on as if nothing was offered";
    EXPECT_EQ(Tables().TableCount(), 0);
    app.reset();
    EXPECT_EQ(RecordFiles(), QStringList({QStringLiteral("5-1.recovery.damaged"), QStringLiteral("99999-1.recovery")}));

    AnswerRecovery([](RecoveryDialog& question) { QTest::mouseClick(question.DiscardButton(), Qt::LeftButton); });
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(Tables().TableCount(), 0);
    EXPECT_EQ(TestFiles::Read(Folder() + QStringLiteral("Weapons.txt")), WeaponsBytes);
    EXPECT_EQ(RecordFiles(), QStringList({QStringLiteral("5-1.recovery.damaged")}));
}

TEST_F(RecoveryTest, ARecordThatDoesNotComeBackWholeStaysForAnotherTry)
{
    // A damaged record may name one table twice: the second cannot open.
    RecoveryRecord record;
    record.processId = 4242;
    record.projectPath = project;
    const FileStamp saved = FileStamp::Of(Folder() + QStringLiteral("Weapons.txt"));
    for (const char* mindam : {"45", "46"})
        record.tables.append({QStringLiteral("Weapons.txt"), true,
                              QByteArray("name\tmindam\r\nThorn Sickle\t") + mindam + "\r\n", saved.size, saved.time});
    QDir().mkpath(Records());
    const QString left = TestFiles::Write(Records() + QStringLiteral("/4242-1.recovery"), record.Serialize());
    AnswerRecovery([](RecoveryDialog& question) { QTest::mouseClick(question.RecoverButton(), Qt::LeftButton); });
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(TabTexts(), QStringList({QStringLiteral("Weapons.txt*")}));
    EXPECT_EQ(Tables().GetCurrentGrid()->GetCellText(1, 1), QStringLiteral("46"));
    EXPECT_EQ(TestFiles::Read(left), record.Serialize());
}

TEST_F(RecoveryTest, ARecordThatCannotBeWrittenIsSaidOnceWithTheCause)
{
    const QByteArray dataFolder = qgetenv("CARVESTONE_DATA_DIR");
    const QString blocked = temp.filePath(QStringLiteral("blocked"));
    TestFiles::Write(blocked, "a file where the data folder should be");
    qputenv("CARVESTONE_DATA_DIR", blocked.toLocal8Bit());
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Weapons.txt")));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    for (const QString& text : {QStringLiteral("45"), QStringLiteral("46")}) {
        Type(text);
        app->Keeper()->RecordNow();
        QCoreApplication::processEvents();
    }
    qputenv("CARVESTONE_DATA_DIR", dataFolder);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_TRUE(LastMessage().startsWith(QStringLiteral("Carvestone cannot keep a recovery record of your unsaved changes:\n")));
    EXPECT_TRUE(LastMessage().contains(QDir::toNativeSeparators(blocked))) << LastMessage().toStdString();
}

} // namespace
