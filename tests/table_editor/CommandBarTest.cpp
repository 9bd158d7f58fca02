#include "ViewTest.h"

#include <QWheelEvent>

class CommandBarTest : public ViewTest
{
protected:
    QStringList Cells(int row1, int col1, int row2, int col2) const
    {
        QStringList texts;
        for (int row = row1; row <= row2; ++row) {
            for (int col = col1; col <= col2; ++col)
                texts.append(Grid().GetCellText(row, col));
        }
        return texts;
    }
    // "1" for each enabled one of Close, formula field, Formula, code list, Lookup, as the main window's timer sees.
    QString Enabled()
    {
        bar.UpdateCommandUi();
        QString states;
        for (int id : {CommandBar::IDC_CLOSE, CommandBar::IDC_FORMULA_TEXT, CommandBar::IDC_FORMULA,
                       CommandBar::IDC_MAGIC_CODES, CommandBar::IDC_LOOKUP})
            states += bar.Control(id)->isEnabled() ? '1' : '0';
        return states;
    }
    void TurnWheelOverCodes()
    {
        const QPointF at = Codes().rect().center();
        QWheelEvent wheel(at, Codes().mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Codes(), &wheel);
    }
};

TEST_F(CommandBarTest, FormulasChangeOnlyTheSelectedNumbersByTheirAmountOrPercent)
{
    Open("t.txt", "name\tc1\tc2\tc3\tc4\r\nr\t5\t7\t100\t100\r\nr\t-2.5\thth\t\t200\r\nr\t1\t2\t3\t30\r\n"
                  "r\t\t\t\t-30\r\nr\t\t\t\t0\r\nr\t\t\t\t40\r\n");
    Click(3, 3);
    for (GridCellId cell : {GridCellId(1, 1), GridCellId(2, 1), GridCellId(2, 2), GridCellId(2, 3)})
        Click(cell.row, cell.col, Qt::ControlModifier);
    ApplyFormula(QStringLiteral("+10"), true);
    EXPECT_EQ(Cells(1, 1, 3, 3), QStringList({"15", "7", "100", "8", "hth", "10", "1", "2", "13"}));
    EXPECT_EQ(QApplication::focusWidget(), &Grid());
    EXPECT_TRUE(Grid().GetRedraw());

    Grid().SetCellState(6, 4, Grid().GetCellState(6, 4) | CellStateReadOnly);
    Click(6, 4);
    Click(1, 4, Qt::ShiftModifier);
    ApplyFormula(QStringLiteral("15%"));
    EXPECT_EQ(Cells(1, 4, 6, 4), QStringList({"115", "230", "35", "-35", "0", "40"}));
    EXPECT_EQ(QApplication::focusWidget(), &Grid());
    ApplyFormula(QStringLiteral("1e400"));
    EXPECT_EQ(Cells(1, 4, 1, 4), QStringList({"115"}));
}

// Reported: "+abc" on a selection turned every empty cell into 0, and "10abc" added 10.  Text that is no formula
// is refused with the forms a formula takes, no cell changes, the table stays unmarked, and the field keeps the text
// chosen for typing over.
TEST_F(CommandBarTest, AFormulaThatIsNoNumberChangesNoCellAndSaysWhatAFormulaIs)
{
    Open("t.txt", "name\tc1\tc2\r\nr\t\t7.6\r\nr\t100\t\r\n");
    Click(1, 1);
    Click(2, 2, Qt::ShiftModifier);
    for (const char* text : {"+abc", "abc", "x", "+", "10abc", "10%x", "#"}) {
        dialogs.AnswerMessage(UserDialogs::IdOk);
        ApplyFormula(QString::fromLatin1(text), text[0] == '1');
        EXPECT_EQ(Cells(1, 1, 2, 2), QStringList({"", "7.6", "100", ""})) << text;
        ASSERT_FALSE(dialogs.Messages().isEmpty()) << text;
        const QString said = dialogs.Messages().last().text;
        EXPECT_TRUE(said.startsWith(QLatin1Char('"') + QLatin1String(text) + QLatin1String("\" is not a formula"))) << said.toStdString();
        EXPECT_TRUE(said.contains(QLatin1String("15% changes each value by 15 percent"))) << said.toStdString();
        auto* field = static_cast<QLineEdit*>(bar.Control(CommandBar::IDC_FORMULA_TEXT));
        EXPECT_EQ(QApplication::focusWidget(), field) << text;
        EXPECT_EQ(field->selectedText(), QLatin1String(text));
    }
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(TabTexts(), QStringList({"t.txt"})) << "a refused formula marks nothing";

    ApplyFormula(QStringLiteral(" 15 % "));
    EXPECT_EQ(Cells(1, 1, 2, 2), QStringList({"0", "9", "115", "0"})) << "blanks around number and mark are fine";
    ApplyFormula(QStringLiteral("0"));
    EXPECT_EQ(Cells(1, 1, 2, 2), QStringList({"0", "9", "115", "0"}));
    EXPECT_EQ(dialogs.Messages().size(), 7);
}

TEST_F(CommandBarTest, TheCodeListWritesOnlyWhatIsChosenLookupFindsCodesAndEachControlIsEnabledForItsState)
{
    Open("t.txt", "name\tc1\tc2\tc3\tc4\r\nr\tx\thth\t\t\r\nr\tst00\tac00\tST00\t\r\nr\t\t\t\t\r\n");
    Click(1, 2);
    bar.UpdateCommandUi();
    TurnWheelOverCodes();
    Codes().setFocus();
    QTest::keyClick(&Codes(), Qt::Key_Down);
    QTest::mouseClick(&Codes(), Qt::LeftButton);
    QTest::keyClick(Codes().view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    TurnWheelOverCodes();
    EXPECT_EQ(Codes().currentIndex(), 3) << "the wheel and the key did move the list";

    for (auto [col, shown] : {std::pair{1, "Add To Strength"}, {2, "Absorb Cold Damage"}, {3, ""},
                              {2, "Absorb Cold Damage"}, {4, "Absorb Cold Damage"}}) {
        Click(2, col);
        bar.UpdateCommandUi();
        QTest::mouseClick(bar.Control(CommandBar::IDC_LOOKUP), Qt::LeftButton);
        EXPECT_EQ(Codes().currentText(), QLatin1String(shown)) << "column " << col;
        EXPECT_EQ(window.focusWidget(), &Grid());
    }
    EXPECT_EQ(TabTexts(), QStringList({"t.txt"})) << "nothing was written";

    EXPECT_EQ(Codes().itemText(0), QStringLiteral("Absorb Cold Damage")) << "sorted by description";
    Click(3, 2);
    ChooseCode(117);
    Click(3, 4);
    ChooseCode(0);
    EXPECT_EQ(Cells(3, 1, 3, 4), QStringList({"", "st00", "", "ac00"}));

    Grid().SetFocusCell(-1, -1);
    Grid().ResetSelection();
    EXPECT_EQ(Enabled(), "10001") << "a table, nothing selected";
    Click(2, 3);
    EXPECT_EQ(Enabled(), "11011") << "a data cell, an empty field";
    QTest::keyClicks(bar.Control(CommandBar::IDC_FORMULA_TEXT), QStringLiteral("1"));
    EXPECT_EQ(Enabled(), "11111") << "text in the field";
    bar.Control(CommandBar::IDC_FORMULA_TEXT)->setFocus();
    dialogs.AnswerMessage(UserDialogs::IdNo);
    QTest::mouseClick(bar.Control(CommandBar::IDC_CLOSE), Qt::LeftButton);
    EXPECT_EQ(view.TableCount(), 0) << "the focus was in the formula field";
    EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Do you wish to save changes to t.txt?"));
    EXPECT_EQ(Enabled(), "00000") << "no table";
    Open("u.txt", ItemTable);
    bar.SetTableView(nullptr);
    EXPECT_EQ(Enabled(), "00000") << "no table view";
}
