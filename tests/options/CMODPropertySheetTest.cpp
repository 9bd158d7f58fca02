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
        archive = TestFiles::Write(temp.filePath(QStringLiteral("patch_d2.mpq")), "MPQ\x1a");
        given = {temp.filePath(QStringLiteral("MODs/")), archive, true, false, QStringLiteral("Arial"), 9, true, false};
    }

    void Show(const OptionsValues& values)
    {
        sheet.SetValues(values);
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    }

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

    QTemporaryDir temp;
    QString archive;
    OptionsValues given;
    ScriptedDialogs dialogs;
    CMODPropertySheet sheet;
};

TEST_F(CMODPropertySheetTest, OkUnchangedGivesBackTheFolderWithoutItsSlashesAndTheUnseenFontAsGiven)
{
    given.modsPath = temp.filePath(QStringLiteral("MODs///"));
    given.gridFontName = QStringLiteral("No Such Face");
    given.gridFontSize = 37;
    Show(given);
    EXPECT_EQ(Paths().ModsPathEdit()->text(), QDir::toNativeSeparators(temp.filePath(QStringLiteral("MODs"))));

    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    const OptionsValues back = sheet.Values();
    EXPECT_EQ(back.modsPath, temp.filePath(QStringLiteral("MODs")));
    EXPECT_TRUE(QFileInfo(back.modsPath).isDir()) << "OK makes the MODs folder";
    EXPECT_EQ(back.gameMpqPath, archive);
    EXPECT_EQ(std::tuple(back.useCompression, back.openMostRecent), std::tuple(true, false));
    EXPECT_EQ(std::tuple(back.gridFontName, back.gridFontSize, back.gridFontBold, back.gridFontItalic),
              std::tuple(QStringLiteral("No Such Face"), 37, true, false));
}

TEST_F(CMODPropertySheetTest, ABrowseSetsItsOwnFieldAndKeepsWhatWasTypedInTheOther)
{
    Show(given);
    const QString typedArchive = temp.filePath(QStringLiteral("typed.mpq"));
    const QString browsedFolder = temp.filePath(QStringLiteral("Browsed"));
    Retype(Paths().MpqPathEdit(), typedArchive);
    Retype(Paths().ModsPathEdit(), QStringLiteral("replaced by the browse"));
    QTest::mouseClick(Paths().UseCompressionBox(), Qt::LeftButton);
    dialogs.AnswerFile(browsedFolder);
    QTest::mouseClick(Paths().BrowseModsButton(), Qt::LeftButton);
    EXPECT_EQ(Paths().ModsPathEdit()->text(), QDir::toNativeSeparators(browsedFolder));
    EXPECT_EQ(Paths().MpqPathEdit()->text(), QDir::toNativeSeparators(typedArchive));
    EXPECT_FALSE(Paths().UseCompressionBox()->isChecked());

    const QString browsedArchive = TestFiles::Write(temp.filePath(QStringLiteral("browsed.mpq")), "MPQ\x1a");
    Retype(Paths().ModsPathEdit(), temp.filePath(QStringLiteral("Typed")));
    dialogs.AnswerFile(browsedArchive);
    QTest::mouseClick(Paths().BrowseMpqButton(), Qt::LeftButton);
    EXPECT_EQ(Paths().MpqPathEdit()->text(), QDir::toNativeSeparators(browsedArchive));
    EXPECT_EQ(Paths().ModsPathEdit()->text(), QDir::toNativeSeparators(temp.filePath(QStringLiteral("Typed"))));

    // A cancelled browse changes nothing.
    dialogs.AnswerFile(QString());
    QTest::mouseClick(Paths().BrowseModsButton(), Qt::LeftButton);
    EXPECT_EQ(Paths().ModsPathEdit()->text(), QDir::toNativeSeparators(temp.filePath(QStringLiteral("Typed"))));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(CMODPropertySheetTest, PathsThatCannotWorkAreRefusedAtOkWithTheSheetLeftOpen)
{
    const QString plainFile = TestFiles::Write(temp.filePath(QStringLiteral("plain")), "x");
    struct Case
    {
        const char* what;
        QString mods, mpq, message;
    };
    const QString full = temp.filePath(QStringLiteral("MODs"));
    const Case cases[] = {
        {"empty MODs path", QString(), archive, QStringLiteral("Please enter the folder where MODs will be stored.")},
        {"relative MODs path", QStringLiteral("MODs"), archive, QStringLiteral("The MODs path \"MODs\" is not a full path.")},
        {"MODs folder under a file", plainFile + QStringLiteral("/MODs"), archive,
         QStringLiteral("MODs cannot be stored in \"%1\".").arg(QDir::toNativeSeparators(plainFile + QStringLiteral("/MODs")))},
        {"missing archive", full, temp.filePath(QStringLiteral("gone.mpq")), QStringLiteral("does not exist.")},
        {"archive is a folder", full, temp.path(), QStringLiteral("does not exist.")},
        {"empty archive path", full, QString(), QStringLiteral("Please choose the Diablo II MPQ")},
    };
    Show(given);
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.what);
        Retype(Paths().ModsPathEdit(), refused.mods);
        Retype(Paths().MpqPathEdit(), refused.mpq);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        ClickOk();
        ASSERT_EQ(dialogs.Messages().size(), &refused - cases + 1);
        EXPECT_TRUE(dialogs.Messages().last().text.contains(refused.message)) << dialogs.Messages().last().text.toStdString();
        EXPECT_EQ(dialogs.Messages().last().caption, QStringLiteral("Carvestone"));
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_NE(sheet.result(), QDialog::Accepted);
    }
    EXPECT_FALSE(QFileInfo::exists(full)) << "a refused archive comes before the MODs folder is made";

    Retype(Paths().MpqPathEdit(), archive);
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_TRUE(QFileInfo(full).isDir());
}

TEST_F(CMODPropertySheetTest, ASizeOutsideOneTo144IsRefusedOnTheFontPage)
{
    Show(given);
    ClickTab(1);
    ASSERT_EQ(sheet.Tabs()->currentWidget(), sheet.FontPage());
    QLineEdit* size = sheet.FontPage()->SizeCombo()->lineEdit();
    for (const QString& refused : {QStringLiteral("0"), QStringLiteral("145"), QStringLiteral("big")}) {
        Retype(size, refused);
        ClickTab(0);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        ClickOk();
        ASSERT_FALSE(dialogs.Messages().isEmpty());
        EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Please enter a font size from 1 to 144.")) << refused.toStdString();
        EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.FontPage()) << "the sheet shows the field at fault";
        EXPECT_TRUE(sheet.isVisible());
    }
    Retype(size, QStringLiteral("144"));
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Values().gridFontSize, 144);
}

} // namespace
