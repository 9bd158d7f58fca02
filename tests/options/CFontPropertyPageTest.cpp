#include "options/CFontPropertyPage.h"

#include "grid/CGridCtrl.h"
#include "options/FontNameCombo.h"
#include "options/FontSizeCombo.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

int HeightOf(int points)
{
    return -qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY() * points / 72.0);
}

class CFontPropertyPageTest : public ::testing::Test
{
protected:
    CFontPropertyPage& Show(const CFontPropertyPage::Data& data)
    {
        page = std::make_unique<CFontPropertyPage>();
        page->SetData(data);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        return *page;
    }
    static void Retype(QComboBox* combo, const QString& text)
    {
        combo->lineEdit()->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(combo->lineEdit(), text);
    }
    // What the page hands back when it is left.
    CFontPropertyPage::Data Left()
    {
        page->OnKillActive();
        return page->GetData();
    }
    // The face in the list, the face previewed and the face handed back must all be this one.
    void ExpectFace(const QString& face)
    {
        EXPECT_EQ(page->FaceCombo()->currentText(), face);
        EXPECT_EQ(page->PreviewFont().lfFaceName, face);
        EXPECT_EQ(Left().faceName, face);
    }

    std::unique_ptr<CFontPropertyPage> page;
};

TEST_F(CFontPropertyPageTest, AStoredOrTypedFaceSelectsOnlyAWholeNameInAnyCaseOrTheFamilyQtDrawsItWith)
{
    const QString arialDrawnWith = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    if (!QFontDatabase::hasFamily(QStringLiteral("Arial"))) {
        EXPECT_EQ(arialDrawnWith, QStringLiteral("Liberation Sans")) << "what Debian's fonts-liberation promises";
    }
    for (const auto& [stored, selected] : {std::pair<QString, QString>{"Arial", arialDrawnWith},
                                           {"dejavu sans", "DejaVu Sans"}, {"DejaVu Sans Mono", "DejaVu Sans Mono"},
                                           {"Liberation Sans", "Liberation Sans"}}) {
        SCOPED_TRACE(stored.toStdString());
        Show({stored, 10, false, false});
        ExpectFace(selected);
    }
    Retype(page->FaceCombo(), QStringLiteral("liberation sans narrow"));
    EXPECT_EQ(page->PreviewFont().lfFaceName, QStringLiteral("Liberation Sans Narrow"));
    Retype(page->FaceCombo(), QStringLiteral("DejaVu Se"));
    EXPECT_EQ(page->PreviewFont().lfFaceName, QStringLiteral("Liberation Sans Narrow")) << "a partial name chooses nothing";
    Retype(page->FaceCombo(), QStringLiteral("arial"));
    QTest::keyClick(page->FaceCombo()->lineEdit(), Qt::Key_Tab);
    ExpectFace(arialDrawnWith);
}

TEST_F(CFontPropertyPageTest, AStoredSizeSelectsOnlyItsOwnEntryAndAnyOtherIsShownTypedAndPreviewed)
{
    for (const auto& [size, selected] : {std::pair{1, -1}, {4, -1}, {13, -1}, {12, 4}, {48, 14}}) {
        SCOPED_TRACE(size);
        CFontPropertyPage& shown = Show({QStringLiteral("DejaVu Sans"), size, false, false});
        QStringList sizes;
        for (int index = 0; index < shown.SizeCombo()->count(); ++index)
            sizes.append(shown.SizeCombo()->itemText(index));
        EXPECT_EQ(sizes.join(' '), "8 9 10 11 12 14 16 18 20 22 24 26 28 36 48");
        EXPECT_EQ(shown.SizeCombo()->currentIndex(), selected);
        EXPECT_EQ(shown.SizeCombo()->currentText(), QString::number(size));
        EXPECT_EQ(shown.PreviewFont().lfHeight, HeightOf(size));
        EXPECT_EQ(Left().size, size);
    }
}

TEST_F(CFontPropertyPageTest, AFaceWithOneStyleOffersAllFourAndTheStyleShownIsTheStylePreviewedAndStored)
{
    const QString oneStyle = QStringLiteral("DejaVu Math TeX Gyre");
    if (QFontDatabase::styles(oneStyle).size() != 1)
        GTEST_SKIP() << "no face with a single style here";
    CFontPropertyPage& shown = Show({oneStyle, 10, true, true});
    QStringList styles;
    for (int index = 0; index < shown.StyleCombo()->count(); ++index)
        styles.append(shown.StyleCombo()->itemText(index));
    EXPECT_EQ(styles, QStringList({"Regular", "Bold", "Italic", "Bold Italic"}));
    EXPECT_EQ(shown.StyleCombo()->currentText(), QStringLiteral("Bold Italic"));
    EXPECT_EQ(std::tuple(shown.PreviewFont().lfWeight, shown.PreviewFont().lfItalic), std::tuple(700, true));
    shown.StyleCombo()->setFocus();
    QTest::keyClick(shown.StyleCombo(), Qt::Key_Up);
    EXPECT_EQ(shown.StyleCombo()->currentText(), QStringLiteral("Italic"));
    EXPECT_EQ(std::tuple(shown.PreviewFont().lfWeight, shown.PreviewFont().lfItalic), std::tuple(400, true));

    Retype(shown.FaceCombo(), QStringLiteral("Liberation Sans Narrow"));
    EXPECT_EQ(shown.StyleCombo()->currentText(), QStringLiteral("Italic")) << "the chosen style outlives the face";
    const CFontPropertyPage::Data left = Left();
    EXPECT_EQ(std::tuple(left.faceName, left.bold, left.italic),
              std::tuple(QStringLiteral("Liberation Sans Narrow"), false, true));
}

TEST_F(CFontPropertyPageTest, ThePreviewGridFollowsEveryChangeOfFaceStyleAndSize)
{
    CFontPropertyPage& shown = Show({QStringLiteral("Liberation Sans"), 9, false, false});
    CGridCtrl* grid = shown.PreviewGrid();
    ASSERT_EQ(std::tuple(grid->GetRowCount(), grid->GetColumnCount(), grid->GetFixedRowCount()), std::tuple(10, 20, 1));
    const auto drawn = [grid] { return QFontInfo(grid->font()); };
    const int width9 = grid->GetColumnWidth(1);
    shown.SizeCombo()->setFocus();
    QTest::keyClick(shown.SizeCombo(), Qt::Key_Down);
    EXPECT_EQ(drawn().pixelSize(), -HeightOf(10));
    EXPECT_GT(grid->GetColumnWidth(1), width9) << "the preview is sized anew";
    QTest::keyClick(shown.SizeCombo(), Qt::Key_Up);
    QTest::keyClick(shown.SizeCombo(), Qt::Key_Up);
    EXPECT_EQ(shown.SizeCombo()->currentText(), QStringLiteral("8"));
    EXPECT_EQ(drawn().pixelSize(), -HeightOf(8)) << "the first size of the list is previewed too";
    Retype(shown.SizeCombo(), QStringLiteral("13"));
    EXPECT_EQ(drawn().pixelSize(), -HeightOf(13));
    Retype(shown.SizeCombo(), QStringLiteral("12"));
    EXPECT_EQ(shown.SizeCombo()->currentIndex(), 4) << "a typed size in the list selects it";

    shown.StyleCombo()->setFocus();
    QTest::keyClick(shown.StyleCombo(), Qt::Key_Down);
    EXPECT_EQ(drawn().bold(), true);
    shown.FaceCombo()->setFocus();
    QTest::keyClick(shown.FaceCombo(), Qt::Key_Down);
    EXPECT_EQ(drawn().family(), QStringLiteral("Liberation Sans Narrow"));
    EXPECT_EQ(std::tuple(drawn().bold(), drawn().pixelSize()), std::tuple(true, -HeightOf(12)))
        << "a new face keeps the style and the size";
}

TEST_F(CFontPropertyPageTest, EmptiedFieldsHandBackTheValuesThePageWasGiven)
{
    CFontPropertyPage& shown = Show({QStringLiteral("DejaVu Sans Mono"), 11, true, false});
    Retype(shown.FaceCombo(), QString());
    QTest::keyClick(shown.FaceCombo()->lineEdit(), Qt::Key_Tab);
    Retype(shown.SizeCombo(), QString());
    const CFontPropertyPage::Data left = Left();
    EXPECT_EQ(std::tuple(left.faceName, left.size, left.bold, left.italic),
              std::tuple(QStringLiteral("DejaVu Sans Mono"), 11, true, false));
    EXPECT_EQ(shown.Validate(), QString());
}

} // namespace
