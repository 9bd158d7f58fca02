#include "table_editor/CommandBar.h"

#include "QStringPrinter.h"
#include "grid/CGridCtrl.h"
#include "project/TableViewPart.h"
#include "table_editor/MagicCodeBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// The table view as the bar sees it: one open table in a real grid.  It
// counts the grid's edit reports and the modified marks, and refuses the
// edits of one cell, as the real view may.
class FakeTableView : public TableViewPart, public GridOwner
{
public:
    bool IsAnyTableModified() const override { return marks > 0; }
    bool SaveAllModifiedTables() override { return true; }
    bool OpenTable(const QString&) override { return false; }
    bool IsTableOpen(const QString& name) const override { return name == GetCurrentFileName(); }
    bool CloseTable(const QString& name) override { closed.append(name); return !(open = false); }
    void CloseAllTables() override { open = false; }
    QString GetCurrentFileName() const override { return open ? QStringLiteral("MonStats.txt") : QString(); }
    GridCellId GetFocusCell() const override { return open ? grid->GetFocusCell() : GridCellId(); }
    CGridCtrl* GetCurrentGrid() const override { return open ? grid : nullptr; }
    void MarkCurrentTableModified() override { ++marks; }
    void ApplyGridFont() override {}
    long OnGridNotify(const GridNotifyInfo& info) override
    {
        const bool refused = info.code == GridNotifyBeginEdit && GridCellId(info.row, info.column) == refusedCell;
        endEdits += info.code == GridNotifyEndEdit;
        return refused ? -1 : 0;
    }

    CGridCtrl* grid = nullptr;
    bool open = true;
    int marks = 0;
    int endEdits = 0;
    GridCellId refusedCell;
    QStringList closed;
};

class CommandBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(bar = new CommandBar(&window));
        layout->addWidget(grid = new CGridCtrl(8, 5, 1, 1, &window));
        grid->setFrameShape(QFrame::NoFrame);
        grid->SetOwner(&view);
        view.grid = grid;
        bar->SetTableView(&view);
        window.resize(720, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void Fill(int row, const QStringList& texts)
    {
        for (int col = 1; col <= texts.size(); ++col)
            grid->SetCellText(row, col, texts.at(col - 1));
    }
    QStringList Row(int row, int cols) const
    {
        QStringList texts;
        for (int col = 1; col <= cols; ++col)
            texts.append(grid->GetCellText(row, col));
        return texts;
    }
    void Click(int row, int col, Qt::KeyboardModifiers modifiers = {})
    {
        QRect rect;
        grid->GetCellRect(row, col, &rect);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, rect.center());
        bar->UpdateCommandUi();
    }
    void TypeFormula(const QString& text)
    {
        Control(CommandBar::IDC_FORMULA_TEXT)->setFocus();
        QTest::keyClick(Control(CommandBar::IDC_FORMULA_TEXT), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Control(CommandBar::IDC_FORMULA_TEXT), text);
    }
    void Press(int buttonId) { QTest::mouseClick(Control(buttonId), Qt::LeftButton); }
    QWidget* Control(int id) const { return bar->Control(id); }
    MagicCodeBox* Codes() const { return static_cast<MagicCodeBox*>(Control(CommandBar::IDC_MAGIC_CODES)); }

    // Opens the list with a click and chooses the entry of that table row
    // with a click on it or with Enter.
    void ChooseFromList(int tableRow, bool click)
    {
        QTest::mouseClick(Codes(), Qt::LeftButton);
        QAbstractItemView* list = Codes()->view();
        const QModelIndex entry = list->model()->index(Codes()->findData(tableRow), 0);
        list->scrollTo(entry);
        list->setCurrentIndex(entry);
        if (click) {
            // The list ignores a release too soon after it opened: it would
            // end the click that opened it.
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
        } else {
            QTest::keyClick(list, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        EXPECT_FALSE(list->isVisible());
    }
    void TurnWheelOverCodes()
    {
        const QPointF at = Codes()->rect().center();
        QWheelEvent wheel(at, Codes()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Codes(), &wheel);
    }
    // Close, formula field, Formula, code list, Lookup.
    std::vector<bool> Enabled() const
    {
        std::vector<bool> states;
        for (int id : {CommandBar::IDC_CLOSE, CommandBar::IDC_FORMULA_TEXT, CommandBar::IDC_FORMULA,
                       CommandBar::IDC_MAGIC_CODES, CommandBar::IDC_LOOKUP})
            states.push_back(Control(id)->isEnabled());
        return states;
    }

    FakeTableView view;
    QWidget window;
    CommandBar* bar = nullptr;
    CGridCtrl* grid = nullptr;
};

using States = std::vector<bool>;

} // namespace

TEST_F(CommandBarTest, EnablesEachControlForTheTableItsSelectionAndItsFocusCell)
{
    EXPECT_EQ(Enabled(), States({true, false, false, false, true})) << "a table, nothing selected";
    Click(2, 3);
    EXPECT_EQ(Enabled(), States({true, true, false, true, true})) << "a data cell, an empty field";
    TypeFormula(QStringLiteral("1"));
    EXPECT_EQ(Enabled(), States({true, true, true, true, true})) << "text in the field";
    // The view's headings are fixed cells, which never take the focus; a
    // grid without fixed cells shows the rule on row 0 and column 0.
    grid->SetFixedRowCount(0);
    grid->SetFixedColumnCount(0);
    for (GridCellId heading : {GridCellId(0, 3), GridCellId(2, 0)}) {
        grid->SetFocusCell(heading);
        bar->UpdateCommandUi();
        EXPECT_FALSE(Codes()->isEnabled()) << heading.row << "," << heading.col;
    }
    view.open = false;
    bar->UpdateCommandUi();
    EXPECT_EQ(Enabled(), States(5, false)) << "no table";
    bar->SetTableView(nullptr);
    EXPECT_EQ(Enabled(), States(5, false)) << "no table view";
}

TEST_F(CommandBarTest, EnterInTheFieldChangesOnlyTheCtrlSelectedNumbersAsEdits)
{
    Fill(1, {"5", "7", "100"});
    Fill(2, {"-2.5", "hth", ""});
    Fill(3, {"1", "2", "3"});
    Click(1, 1);
    for (GridCellId cell : {GridCellId(2, 1), GridCellId(2, 2), GridCellId(2, 3), GridCellId(3, 3)})
        Click(cell.row, cell.col, Qt::ControlModifier);
    TypeFormula(QStringLiteral("+10"));
    QTest::keyClick(Control(CommandBar::IDC_FORMULA_TEXT), Qt::Key_Return);

    EXPECT_EQ(Row(1, 3), QStringList({"15", "7", "100"}));
    EXPECT_EQ(Row(2, 3), QStringList({"8", "hth", "10"})) << "text stays, an empty cell counts as 0";
    EXPECT_EQ(Row(3, 3), QStringList({"1", "2", "13"}));
    EXPECT_EQ(view.endEdits, 4) << "each changed cell is reported as an edit";
    EXPECT_EQ(view.marks, 1);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_TRUE(grid->GetRedraw());
}

TEST_F(CommandBarTest, FormulaRaisesAColumnByThePercentSparingRefusedAndReadOnlyCells)
{
    const QStringList column{"100", "200", "30", "-30", "0", "40"};
    for (int row = 1; row <= column.size(); ++row)
        Fill(row, {column.at(row - 1)});
    Click(1, 1);
    Click(6, 1, Qt::ShiftModifier);
    view.refusedCell = GridCellId(2, 1);
    grid->SetCellState(6, 1, grid->GetCellState(6, 1) | CellStateReadOnly);
    TypeFormula(QStringLiteral("15%"));
    Press(CommandBar::IDC_FORMULA);

    QStringList result;
    for (int row = 1; row <= column.size(); ++row)
        result += Row(row, 1);
    EXPECT_EQ(result, QStringList({"115", "200", "35", "-35", "0", "40"}));
    EXPECT_EQ(view.endEdits, 3);
    EXPECT_EQ(QApplication::focusWidget(), grid);

    // A formula that changes no cell (every result overflows) still marks
    // the table.
    TypeFormula(QStringLiteral("1e400"));
    Press(CommandBar::IDC_FORMULA);
    EXPECT_EQ(Row(1, 1), QStringList({"115"}));
    EXPECT_EQ(view.endEdits, 3);
    EXPECT_EQ(view.marks, 2);
}

TEST_F(CommandBarTest, ChoosingFromTheOpenListWritesTheCodeIntoTheFocusCell)
{
    EXPECT_EQ(Codes()->itemText(0), QStringLiteral("Absorb Cold Damage")) << "sorted by description";
    Click(2, 2);
    ChooseFromList(117, false);
    Click(3, 4);
    ChooseFromList(0, true);
    EXPECT_EQ(Row(2, 2).last(), QStringLiteral("st00"));
    EXPECT_EQ(Row(3, 4).last(), QStringLiteral("ac00"));
    EXPECT_EQ(view.endEdits, 2);
    EXPECT_EQ(view.marks, 2);
}

TEST_F(CommandBarTest, WheelAndArrowKeysOverTheClosedListWriteNothing)
{
    Fill(1, {"hth"});
    Click(1, 1);
    TurnWheelOverCodes();
    Codes()->setFocus();
    QTest::keyClick(Codes(), Qt::Key_Down);
    // A list opened and closed with Escape leaves no choice behind.
    QTest::mouseClick(Codes(), Qt::LeftButton);
    QTest::keyClick(Codes()->view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    TurnWheelOverCodes();

    EXPECT_EQ(Codes()->currentIndex(), 3) << "the wheel and the key did move the list";
    EXPECT_EQ(Row(1, 1), QStringList({"hth"}));
    EXPECT_EQ(view.endEdits + view.marks, 0);
}

TEST_F(CommandBarTest, LookupShowsTheCodesDescriptionWithCaseOrClearsAndNeverWrites)
{
    const QStringList texts{"st00", "ac00", "ST00", ""};
    Fill(1, texts);
    for (auto [col, shown] : {std::pair{1, "Add To Strength"}, {2, "Absorb Cold Damage"}, {3, ""},
                              {2, "Absorb Cold Damage"}, {4, "Absorb Cold Damage"}}) {
        Click(1, col);
        Press(CommandBar::IDC_LOOKUP);
        EXPECT_EQ(Codes()->currentText(), QLatin1String(shown)) << "column " << col;
        EXPECT_EQ(QApplication::focusWidget(), grid);
    }
    EXPECT_EQ(Row(1, 4), texts);
    EXPECT_EQ(view.marks, 0);
}

TEST_F(CommandBarTest, CloseClosesTheCurrentTableWhereverTheFocusIs)
{
    TypeFormula(QStringLiteral("10"));
    Press(CommandBar::IDC_CLOSE);
    EXPECT_EQ(view.closed, QStringList({"MonStats.txt"}));
    EXPECT_FALSE(Control(CommandBar::IDC_CLOSE)->isEnabled());
}
