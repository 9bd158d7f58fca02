#include "options/CMODPropertySheet.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "options/CFontPropertyPage.h"
#include "options/CMODPropertyPage.h"
#include "options/FontSizeCombo.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CMODPropertySheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        given = {Path("MODs/"), archive, true, false, QStringLiteral("Arial"), 9, true, false};
    }
    void Show()
    {
        sheet.SetValues(given);
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    }
    QString Path(const char* name) const { return temp.filePath(QString::fromLatin1(name)); }
    CMODPropertyPage& Paths() { return *sheet.PathsPage(); }
    static void Retype(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void ClickOk() { QTest::mouseClick(sheet.Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton); }
    void ClickTab(int index)
    {
        QTabBar* bar = sheet.Tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    // OK is refused with this text in a message, and the sheet stays open.
    void ExpectRefusedAtOk(const QString& text)
    {
        const qsizetype shown = dialogs.Messages().size();
        dialogs.AnswerMessage(UserDialogs::IdOk);
        ClickOk();
        ASSERT_EQ(dialogs.Messages().size(), shown + 1);
        EXPECT_TRUE(dialogs.Messages().last().text.contains(text)) << dialogs.Messages().last().text.toStdString();
        EXPECT_EQ(dialogs.Messages().last().caption, QStringLiteral("Carvestone"));
        EXPECT_TRUE(sheet.isVisible() && sheet.result() != QDialog::Accepted);
    }

    QTemporaryDir temp;
    QString archive = TestFiles::Write(Path("patch_d2.mpq"), "MPQ\x1a");
    OptionsValues given;
    ScriptedDialogs dialogs;
    CMODPropertySheet sheet;
};

TEST_F(CMODPropertySheetTest, OkUnchangedGivesBackTheFolderWithoutItsSlashesAndTheUnseenFontAsGiven)
{
    given.modsPath = Path("MODs///");
    given.gridFontName = QStringLiteral("No Such Face");
    given.gridFontSize = 37;
    Show();
    EXPECT_EQ(Paths().ModsPathEdit()->text(), QDir::toNativeSeparators(Path("MODs")));
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    const OptionsValues back = sheet.Values();
    EXPECT_EQ(std::tuple(back.modsPath, back.gameMpqPath, back.useCompression, back.openMostRecent),
              std::tuple(Path("MODs"), archive, true, false));
    EXPECT_EQ(std::tuple(back.gridFontName, back.gridFontSize, back.gridFontBold, back.gridFontItalic),
              std::tuple(QStringLiteral("No Such Face"), 37, true, false));
}

TEST_F(CMODPropertySheetTest, ABrowseSetsItsOwnFieldAndKeepsWhatWasTypedInTheOther)
{
    const auto shown = [](const QString& path) { return QDir::toNativeSeparators(path); };
    Show();
    Retype(Paths().MpqPathEdit(), Path("typed.mpq"));
    Retype(Paths().ModsPathEdit(), QStringLiteral("replaced by the browse"));
    QTest::mouseClick(Paths().UseCompressionBox(), Qt::LeftButton);
    dialogs.AnswerFile(Path("Browsed"));
    QTest::mouseClick(Paths().BrowseModsButton(), Qt::LeftButton);
    EXPECT_EQ(Paths().ModsPathEdit()->text(), shown(Path("Browsed")));
    EXPECT_EQ(Paths().MpqPathEdit()->text(), shown(Path("typed.mpq")));
    EXPECT_FALSE(Paths().UseCompressionBox()->isChecked());

    Retype(Paths().ModsPathEdit(), Path("Typed"));
    dialogs.AnswerFile(archive);
    QTest::mouseClick(Paths().BrowseMpqButton(), Qt::LeftButton);
    EXPECT_EQ(Paths().MpqPathEdit()->text(), shown(archive));
    EXPECT_EQ(Paths().ModsPathEdit()->text(), shown(Path("Typed")));
    dialogs.AnswerFile(QString());   // a cancelled browse changes nothing
    QTest::mouseClick(Paths().BrowseModsButton(), Qt::LeftButton);
    EXPECT_EQ(Paths().ModsPathEdit()->text(), shown(Path("Typed")));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(CMODPropertySheetTest, PathsThatCannotWorkAndSizesOutsideOneTo144AreRefusedAtOkWithTheSheetLeftOpen)
{
    Show();
    const QString underFile = TestFiles::Write(Path("plain"), "x") + QStringLiteral("/MODs");
    const struct { const char* what; QString mods, mpq, message; } cases[] = {
        {"empty MODs path", QString(), archive, "Please enter the folder where MODs will be stored."},
        {"relative MODs path", "MODs", archive, "The MODs path \"MODs\" is not a full path."},
        {"MODs folder under a file", underFile, archive,
         QStringLiteral("MODs cannot be stored in \"%1\".").arg(QDir::toNativeSeparators(underFile))},
        {"missing archive", Path("MODs"), Path("gone.mpq"), "does not exist."},
        {"archive is a folder", Path("MODs"), temp.path(), "does not exist."},
        {"empty archive path", Path("MODs"), QString(), "Please choose the Diablo II MPQ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Retype(Paths().ModsPathEdit(), c.mods);
        Retype(Paths().MpqPathEdit(), c.mpq);
        ExpectRefusedAtOk(c.message);
    }
    EXPECT_FALSE(QFileInfo::exists(Path("MODs"))) << "a refused archive comes before the MODs folder is made";
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("MODs"))));
    Retype(Paths().MpqPathEdit(), archive);

    ClickTab(1);
    ASSERT_EQ(sheet.Tabs()->currentWidget(), sheet.FontPage());
    QLineEdit* size = sheet.FontPage()->SizeCombo()->lineEdit();
    for (const QString& refused : {QStringLiteral("0"), QStringLiteral("145"), QStringLiteral("big")}) {
        SCOPED_TRACE(refused.toStdString());
        Retype(size, refused);
        ClickTab(0);
        ExpectRefusedAtOk(QStringLiteral("Please enter a font size from 1 to 144."));
        EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.FontPage()) << "the sheet shows the field at fault";
    }
    Retype(size, QStringLiteral("144"));
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_TRUE(QFileInfo(Path("MODs")).isDir());
    EXPECT_EQ(sheet.Values().gridFontSize, 144);
}

} // namespace
