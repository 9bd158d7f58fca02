#include "options/CMODPropertySheet.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "grid/CGridCtrl.h"
#include "options/CFontPropertyPage.h"
#include "options/CMODPropertyPage.h"
#include "options/FontNameCombo.h"
#include "options/FontSizeCombo.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList Texts(const QComboBox* combo)
{
    QStringList texts;
    for (int index = 0; index < combo->count(); ++index)
        texts.append(combo->itemText(index));
    return texts;
}

class CMODPropertySheetTest : public ::testing::Test
{
protected:
    void Show()
    {
        sheet = std::make_unique<CMODPropertySheet>();
        sheet->SetValues(given);
        sheet->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
    }
    QString Path(const char* name) const { return temp.filePath(QString::fromLatin1(name)); }
    CMODPropertyPage& Paths() { return *sheet->PathsPage(); }
    CFontPropertyPage& Font() { return *sheet->FontPage(); }
    int HeightOf(int points) const { return -qRound(sheet->logicalDpiY() * points / 72.0); }
    static void Retype(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    static void Retype(QComboBox* combo, const QString& text) { Retype(combo->lineEdit(), text); }
    void ClickOk() { QTest::mouseClick(sheet->Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton); }
    void ClickTab(int index)
    {
        QTabBar* bar = sheet->Tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    CFontPropertyPage::Data Left()
    {
        Font().OnKillActive();
        return Font().GetData();
    }
    // OK is refused with this text in a message, and the sheet stays open.
    void ExpectRefusedAtOk(const QString& text)
    {
        const qsizetype shown = dialogs.Messages().size();
        dialogs.AnswerMessage(UserDialogs::IdOk);
        ClickOk();
        ASSERT_EQ(dialogs.Messages().size(), shown + 1);
        EXPECT_TRUE(dialogs.Messages().last().text.contains(text)) << dialogs.Messages().last().text.toStdString();
        EXPECT_TRUE(sheet->isVisible() && sheet->result() != QDialog::Accepted);
    }

    QTemporaryDir temp;
    QString archive = TestFiles::Write(Path("patch_d2.mpq"), "MPQ\x1a");
    OptionsValues given{Path("MODs///"), archive, true, false, QStringLiteral("No Such Face"), 37, true, false};
    ScriptedDialogs dialogs;
    std::unique_ptr<CMODPropertySheet> sheet;
};

TEST_F(CMODPropertySheetTest, PathsThatCannotWorkAreRefusedAtOkABrowseKeepsTheOtherFieldAndAnUnseenFontComesBack)
{
    Show();
    EXPECT_EQ(Paths().ModsPathEdit()->text(), Path("MODs"));
    const QString underFile = TestFiles::Write(Path("plain"), "x") + QStringLiteral("/MODs");
    const struct { const char* what; QString mods, mpq, message; } cases[] = {
        {"empty MODs path", QString(), archive, "Please enter the folder where MODs will be stored."},
        {"relative MODs path", "MODs", archive, "The MODs path \"MODs\" is not a full path."},
        {"MODs under a file", underFile, archive, QStringLiteral("MODs cannot be stored in \"%1\".").arg(underFile)},
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

    Retype(Paths().MpqPathEdit(), Path("typed.mpq"));
    Retype(Paths().ModsPathEdit(), QStringLiteral("replaced by the browse"));
    QTest::mouseClick(Paths().UseCompressionBox(), Qt::LeftButton);
    dialogs.AnswerFile(Path("Browsed"));
    QTest::mouseClick(Paths().BrowseModsButton(), Qt::LeftButton);
    EXPECT_EQ(Paths().ModsPathEdit()->text(), Path("Browsed"));
    EXPECT_EQ(Paths().MpqPathEdit()->text(), Path("typed.mpq"));
    // The values below show that neither this browse nor a cancelled one loses the typed MODs path or the box.
    Retype(Paths().ModsPathEdit(), Path("Typed"));
    dialogs.AnswerFile(archive);
    QTest::mouseClick(Paths().BrowseMpqButton(), Qt::LeftButton);
    dialogs.AnswerFile(QString());
    QTest::mouseClick(Paths().BrowseModsButton(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.AllAnswersUsed());

    ClickOk();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_TRUE(QFileInfo(Path("Typed")).isDir());
    const OptionsValues back = sheet->Values();
    EXPECT_EQ(std::tuple(back.modsPath, back.gameMpqPath, back.useCompression, back.openMostRecent),
              std::tuple(Path("Typed"), archive, false, false));
    EXPECT_EQ(std::tuple(back.gridFontName, back.gridFontSize, back.gridFontBold, back.gridFontItalic),
              std::tuple(QStringLiteral("No Such Face"), 37, true, false));
}

TEST_F(CMODPropertySheetTest, AFaceOrSizeSelectsOnlyAWholeEntryThePreviewFollowsEveryChangeAndBadSizesAreRefused)
{
    const QString arialDrawnWith = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    const struct { QString stored; int size; QString face; int sizeIndex; } cases[] = {
        {"Arial", 1, arialDrawnWith, -1}, {"dejavu sans", 4, "DejaVu Sans", -1},
        {"DejaVu Sans Mono", 13, "DejaVu Sans Mono", -1}, {"Liberation Sans", 12, "Liberation Sans", 4},
        {"Liberation Sans", 48, "Liberation Sans", 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toStdString() + " " + std::to_string(c.size));
        std::tie(given.gridFontName, given.gridFontSize) = std::tuple(c.stored, c.size);
        Show();
        ClickTab(1);
        const QComboBox* sizes = Font().SizeCombo();
        EXPECT_EQ(std::tuple(Font().FaceCombo()->currentText(), sizes->currentIndex(), sizes->currentText()),
                  std::tuple(c.face, c.sizeIndex, QString::number(c.size)));
        const CFontPropertyPage::Data left = Left();
        EXPECT_EQ(std::tuple(Font().PreviewFont().lfFaceName, Font().PreviewFont().lfHeight, left.faceName, left.size),
                  std::tuple(c.face, HeightOf(c.size), c.face, c.size));
    }
    EXPECT_EQ(Texts(Font().SizeCombo()).join(' '), "8 9 10 11 12 14 16 18 20 22 24 26 28 36 48");

    CGridCtrl* grid = Font().PreviewGrid();
    const auto drawn = [grid] { return QFontInfo(grid->font()); };
    const int width48 = grid->GetColumnWidth(1);
    Retype(Font().SizeCombo(), QStringLiteral("9"));
    EXPECT_EQ(drawn().pixelSize(), -HeightOf(9));
    EXPECT_LT(grid->GetColumnWidth(1), width48) << "the preview is sized anew";
    QTest::keyClick(Font().SizeCombo(), Qt::Key_Up);
    EXPECT_EQ(drawn().pixelSize(), -HeightOf(8)) << "the first size of the list is previewed too";
    Retype(Font().SizeCombo(), QStringLiteral("13"));
    EXPECT_EQ(drawn().pixelSize(), -HeightOf(13));
    QTest::keyClick(Font().StyleCombo(), Qt::Key_Down);
    EXPECT_EQ(std::tuple(drawn().bold(), drawn().italic()), std::tuple(false, true));
    QTest::keyClick(Font().FaceCombo(), Qt::Key_Down);
    EXPECT_EQ(drawn().family(), QStringLiteral("Liberation Sans Narrow"));
    EXPECT_EQ(std::tuple(drawn().italic(), drawn().pixelSize()), std::tuple(true, -HeightOf(13)))
        << "a new face keeps the style and the size";
    // A face with one style still offers all four, and the style shown is the style previewed.
    Retype(Font().FaceCombo(), QStringLiteral("DejaVu Math TeX Gyre"));
    EXPECT_EQ(Texts(Font().StyleCombo()), QStringList({"Regular", "Bold", "Italic", "Bold Italic"}));
    EXPECT_EQ(Font().StyleCombo()->currentText(), QStringLiteral("Italic"));
    EXPECT_EQ(std::tuple(Font().PreviewFont().lfWeight, Font().PreviewFont().lfItalic), std::tuple(400, true));

    Retype(Font().FaceCombo(), QStringLiteral("dejavu sans mono"));
    EXPECT_EQ(Font().PreviewFont().lfFaceName, QStringLiteral("DejaVu Sans Mono"));
    Retype(Font().FaceCombo(), QStringLiteral("DejaVu Se"));
    EXPECT_EQ(Font().PreviewFont().lfFaceName, QStringLiteral("DejaVu Sans Mono")) << "a partial name";
    Retype(Font().FaceCombo(), QStringLiteral("arial"));
    QTest::keyClick(Font().FaceCombo()->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(Font().FaceCombo()->currentText(), arialDrawnWith);
    EXPECT_EQ(Font().PreviewFont().lfFaceName, arialDrawnWith);
    // An emptied field changes nothing.
    Retype(Font().FaceCombo(), QString());
    QTest::keyClick(Font().FaceCombo()->lineEdit(), Qt::Key_Tab);
    Retype(Font().SizeCombo(), QString());
    const CFontPropertyPage::Data left = Left();
    EXPECT_EQ(std::tuple(left.faceName, left.size, left.bold, left.italic),
              std::tuple(arialDrawnWith, 48, false, true));
    EXPECT_EQ(Font().Validate(), QString());

    for (const QString& refused : {QStringLiteral("0"), QStringLiteral("145"), QStringLiteral("big")}) {
        SCOPED_TRACE(refused.toStdString());
        Retype(Font().SizeCombo(), refused);
        ClickTab(0);
        ExpectRefusedAtOk(QStringLiteral("Please enter a font size from 1 to 144."));
        EXPECT_EQ(sheet->Tabs()->currentWidget(), sheet->FontPage()) << "the sheet shows the field at fault";
    }
    Retype(Font().SizeCombo(), QStringLiteral("144"));
    ClickOk();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(sheet->Values().gridFontSize, 144);
}

// Reported: typing a size such as 200 blanked the preview.  It keeps the last size it could show, the page says
// why below it, and the note goes once the size can be used again.
TEST_F(CMODPropertySheetTest, WhileTheTypedSizeCannotBeUsedThePreviewKeepsTheLastGoodSizeAndThePageSaysWhy)
{
    given.gridFontSize = 12;
    Show();
    ClickTab(1);
    const QLabel* note = Font().SizeNote();
    EXPECT_FALSE(note->isVisible());
    CGridCtrl* grid = Font().PreviewGrid();
    Retype(Font().SizeCombo(), QStringLiteral("20"));
    const int rowHeight20 = grid->GetRowHeight(1);
    for (const char* typed : {"200", "0", "big", "-5"}) {
        SCOPED_TRACE(typed);
        Retype(Font().SizeCombo(), QString::fromLatin1(typed));
        EXPECT_EQ(QFontInfo(grid->font()).pixelSize(), -HeightOf(20));
        EXPECT_EQ(grid->GetRowHeight(1), rowHeight20);
        EXPECT_TRUE(note->isVisible());
        EXPECT_EQ(note->text(), QStringLiteral("Please enter a font size from 1 to 144."));
    }
    Retype(Font().SizeCombo(), QString());
    EXPECT_FALSE(note->isVisible()) << "an empty field keeps the size, with nothing to correct";
    Retype(Font().SizeCombo(), QStringLiteral("14"));
    EXPECT_EQ(QFontInfo(grid->font()).pixelSize(), -HeightOf(14));
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(note->parentWidget(), &Font());
    EXPECT_GE(note->geometry().top(), grid->geometry().bottom()) << "the note lies under the preview";
}

} // namespace
