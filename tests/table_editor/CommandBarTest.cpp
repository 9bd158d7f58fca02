#include "table_editor/CommandBar.h"

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

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// The table view as the bar sees it: one open table in a real grid.  It
// counts the grid's edit reports and the modified marks, and refuses the
// edits of one cell when asked to, as the real view may.
class FakeTableView : public TableViewPart, public GridOwner
{
public:
    bool IsAnyTableModified() const override { return marks > 0; }
    bool SaveAllModifiedTables() override { return true; }
    bool OpenTable(const QString&) override { return false; }
    bool IsTableOpen(const QString& name) const override { return open && name == FileName; }
    bool CloseTable(const QString& name) override
    {
        closed.append(name);
        open = false;
        return true;
    }
    void CloseAllTables() override { open = false; }
    QString GetCurrentFileName() const override { return open ? FileName : QString(); }
    GridCellId GetFocusCell() const override { return open ? grid->GetFocusCell() : GridCellId(); }
    CGridCtrl* GetCurrentGrid() const override { return open ? grid : nullptr; }
    void MarkCurrentTableModified() override { ++marks; }
    void ApplyGridFont() override {}

    long OnGridNotify(const GridNotifyInfo& info) override
    {
        if (info.code == GridNotifyBeginEdit && GridCellId(info.row, info.column) == refusedCell)
            return -1;
        if (info.code == GridNotifyEndEdit)
            ++endEdits;
        return 0;
    }

    static inline const QString FileName = QStringLiteral("MonStats.txt");
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
        bar = new CommandBar(&window);
        grid = new CGridCtrl(8, 5, 1, 1, &window);
        layout->addWidget(bar);
        layout->addWidget(grid);
        grid->setFrameShape(QFrame::NoFrame);
        for (int row = 0; row < grid->GetRowCount(); ++row)
            grid->SetRowHeight(row, 20);
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            grid->SetColumnWidth(col, 50);
        grid->SetOwner(&view);
        view.grid = grid;
        bar->SetTableView(&view);
        window.resize(720, 300);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void Fill(const std::vector<std::vector<const char*>>& rows)
    {
        for (std::size_t row = 0; row < rows.size(); ++row)
            for (std::size_t col = 0; col < rows[row].size(); ++col)
                grid->SetCellText(int(row) + 1, int(col) + 1, QString::fromLatin1(rows[row][col]));
    }

    void Click(int row, int col, Qt::KeyboardModifiers modifiers = {})
    {
        QRect rect;
        ASSERT_TRUE(grid->GetCellRect(row, col, &rect));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, rect.center());
        bar->UpdateCommandUi();
    }

    void TypeFormula(const QString& text)
    {
        formulaText()->setFocus();
        QTest::keyClicks(formulaText(), text);
    }

    QString Text(int row, int col) const { return grid->GetCellText(row, col); }
    QLineEdit* formulaText() const { return static_cast<QLineEdit*>(bar->Control(CommandBar::IDC_FORMULA_TEXT)); }
    QPushButton* button(int id) const { return static_cast<QPushButton*>(bar->Control(id)); }
    MagicCodeBox* codes() const { return static_cast<MagicCodeBox*>(bar->Control(CommandBar::IDC_MAGIC_CODES)); }

    // Opens the list with a click and chooses the entry of that table row,
    // with a click on it or with the keys, as a user does.
    void ChooseFromList(int tableRow, bool click)
    {
        QTest::mouseClick(codes(), Qt::LeftButton);
        QAbstractItemView* list = codes()->view();
        ASSERT_TRUE(list->isVisible());
        const QModelIndex entry = list->model()->index(codes()->findData(tableRow), 0);
        list->scrollTo(entry);
        list->setCurrentIndex(entry);
        if (click) {
            // The list ignores a release that comes too soon after it
            // opened: it would be the end of the click that opened it.
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
        } else
            QTest::keyClick(list, Qt::Key_Return);
        QCoreApplication::processEvents();
        ASSERT_FALSE(list->isVisible());
    }

    void TurnWheelOverCodes(int delta)
    {
        const QPointF at = codes()->rect().center();
        QWheelEvent wheel(at, codes()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(codes(), &wheel);
    }

    std::vector<bool> Enabled() const
    {
        std::vector<bool> states;
        for (int id : {CommandBar::IDC_CLOSE, CommandBar::IDC_FORMULA_TEXT, CommandBar::IDC_FORMULA,
                       CommandBar::IDC_MAGIC_CODES, CommandBar::IDC_LOOKUP})
            states.push_back(bar->Control(id)->isEnabled());
        return states;
    }

    FakeTableView view;
    QWidget window;
    CommandBar* bar = nullptr;
    CGridCtrl* grid = nullptr;
};

} // namespace

// Order of the states: Close, formula field, Formula, code list, Lookup.
TEST_F(CommandBarTest, EnablesEachControlForTheTableItsSelectionAndItsFocusCell)
{
    EXPECT_EQ(Enabled(), std::vector<bool>({true, false, false, false, true})) << "table open, nothing selected";

    Click(2, 3);
    EXPECT_EQ(Enabled(), std::vector<bool>({true, true, false, true, true})) << "a data cell, empty field";
    TypeFormula(QStringLiteral("1"));
    EXPECT_EQ(Enabled(), std::vector<bool>({true, true, true, true, true})) << "text in the field";

    // The table view keeps its headings fixed, so the grid never puts the
    // focus there itself; a grid without fixed cells can.
    grid->SetFixedRowCount(0);
    grid->SetFixedColumnCount(0);
    grid->SetFocusCell(0, 3);
    bar->UpdateCommandUi();
    EXPECT_FALSE(codes()->isEnabled()) << "the focus on the header row";
    grid->SetFocusCell(2, 0);
    bar->UpdateCommandUi();
    EXPECT_FALSE(codes()->isEnabled()) << "the focus on the header column";

    view.open = false;
    bar->UpdateCommandUi();
    EXPECT_EQ(Enabled(), std::vector<bool>({false, false, false, false, false})) << "no table";
    bar->SetTableView(nullptr);
    EXPECT_EQ(Enabled(), std::vector<bool>({false, false, false, false, false})) << "no table view";
}

TEST_F(CommandBarTest, EnterInTheFieldChangesOnlyTheCtrlSelectedNumbersAsEdits)
{
    Fill({{"5", "7", "100"}, {"-2.5", "hth", ""}, {"1", "2", "3"}});
    Click(1, 1);
    Click(2, 1, Qt::ControlModifier);
    Click(2, 2, Qt::ControlModifier);
    Click(2, 3, Qt::ControlModifier);
    Click(3, 3, Qt::ControlModifier);
    ASSERT_EQ(grid->GetSelectedCount(), 5);

    TypeFormula(QStringLiteral("+10"));
    QTest::keyClick(formulaText(), Qt::Key_Return);

    EXPECT_EQ(Text(1, 1), QStringLiteral("15"));
    EXPECT_EQ(Text(2, 1), QStringLiteral("8")) << "-2.5 + 10 = 7.5, rounded up";
    EXPECT_EQ(Text(2, 2), QStringLiteral("hth")) << "text stays";
    EXPECT_EQ(Text(2, 3), QStringLiteral("10")) << "an empty cell counts as 0";
    EXPECT_EQ(Text(3, 3), QStringLiteral("13"));
    for (auto [row, col] : {std::pair{1, 2}, {1, 3}, {3, 1}, {3, 2}})
        EXPECT_EQ(Text(row, col), QString::number(row == 1 ? (col == 2 ? 7 : 100) : col)) << row << "," << col;
    EXPECT_EQ(view.endEdits, 4) << "each changed cell is reported as an edit";
    EXPECT_EQ(view.marks, 1);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_TRUE(grid->GetRedraw());
}

TEST_F(CommandBarTest, FormulaButtonRaisesAColumnByThePercentSparingRefusedAndReadOnlyCells)
{
    Fill({{"100"}, {"200"}, {"30"}, {"-30"}, {"0"}, {"40"}});
    Click(1, 1);
    Click(6, 1, Qt::ShiftModifier);
    view.refusedCell = GridCellId(2, 1);
    grid->SetCellState(6, 1, grid->GetCellState(6, 1) | CellStateReadOnly);
    TypeFormula(QStringLiteral("15%"));
    QTest::mouseClick(button(CommandBar::IDC_FORMULA), Qt::LeftButton);

    EXPECT_EQ(QStringList({Text(1, 1), Text(2, 1), Text(3, 1), Text(4, 1), Text(5, 1), Text(6, 1)}),
              QStringList({"115", "200", "35", "-35", "0", "40"}));
    EXPECT_EQ(view.endEdits, 3);
    EXPECT_EQ(view.marks, 1);
    EXPECT_EQ(QApplication::focusWidget(), grid);
}

TEST_F(CommandBarTest, AFormulaThatChangesNothingStillMarksTheTable)
{
    Fill({{"hth", "1e400"}});
    Click(1, 1);
    Click(1, 2, Qt::ShiftModifier);
    TypeFormula(QStringLiteral("1e400"));
    QTest::keyClick(formulaText(), Qt::Key_Return);
    EXPECT_EQ(Text(1, 1), QStringLiteral("hth"));
    EXPECT_EQ(Text(1, 2), QStringLiteral("1e400"));
    EXPECT_EQ(view.endEdits, 0);
    EXPECT_EQ(view.marks, 1);
}

TEST_F(CommandBarTest, ChoosingFromTheOpenListWritesTheCodeIntoTheFocusCell)
{
    EXPECT_EQ(codes()->itemText(0), QStringLiteral("Absorb Cold Damage")) << "sorted by description";
    Click(2, 2);
    ChooseFromList(117, false);
    EXPECT_EQ(Text(2, 2), QStringLiteral("st00"));
    EXPECT_EQ(codes()->currentText(), QStringLiteral("Add To Strength"));

    Click(3, 4);
    ChooseFromList(0, true);
    EXPECT_EQ(Text(3, 4), QStringLiteral("ac00"));
    EXPECT_EQ(view.endEdits, 2);
    EXPECT_EQ(view.marks, 2);
}

TEST_F(CommandBarTest, WheelAndArrowKeysOverTheClosedListWriteNothing)
{
    Fill({{"hth"}});
    Click(1, 1);
    const int first = codes()->currentIndex();
    TurnWheelOverCodes(-120);
    EXPECT_EQ(codes()->currentIndex(), first + 1) << "the wheel moved the list";
    codes()->setFocus();
    QTest::keyClick(codes(), Qt::Key_Down);
    QTest::keyClick(codes(), Qt::Key_Down);
    QTest::keyClick(codes(), Qt::Key_Up);
    EXPECT_EQ(codes()->currentIndex(), first + 2) << "the keys moved the list";
    // A list opened and closed with Escape leaves no choice behind.
    QTest::mouseClick(codes(), Qt::LeftButton);
    QTest::keyClick(codes()->view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    TurnWheelOverCodes(-120);
    EXPECT_EQ(codes()->currentIndex(), first + 3);
    EXPECT_EQ(Text(1, 1), QStringLiteral("hth"));
    EXPECT_EQ(view.endEdits, 0);
    EXPECT_EQ(view.marks, 0);
}

TEST_F(CommandBarTest, LookupShowsTheCodesDescriptionWithCaseOrClearsAndNeverWrites)
{
    Fill({{"st00", "ac00", "ST00", ""}});
    struct Step
    {
        int col;
        const char* shown;
    };
    for (const Step& step : {Step{1, "Add To Strength"}, Step{2, "Absorb Cold Damage"}, Step{3, ""},
                             Step{2, "Absorb Cold Damage"}, Step{4, "Absorb Cold Damage"}}) {
        Click(1, step.col);
        QTest::mouseClick(button(CommandBar::IDC_LOOKUP), Qt::LeftButton);
        EXPECT_EQ(codes()->currentText(), QLatin1String(step.shown)) << "column " << step.col;
        EXPECT_EQ(QApplication::focusWidget(), grid);
    }
    EXPECT_EQ(codes()->currentIndex(), codes()->findData(0));
    EXPECT_EQ(QStringList({Text(1, 1), Text(1, 2), Text(1, 3), Text(1, 4)}),
              QStringList({"st00", "ac00", "ST00", ""}));
    EXPECT_EQ(view.marks, 0);
}

TEST_F(CommandBarTest, CloseClosesTheCurrentTableWhereverTheFocusIs)
{
    TypeFormula(QStringLiteral("10"));
    QTest::mouseClick(button(CommandBar::IDC_CLOSE), Qt::LeftButton);
    EXPECT_EQ(view.closed, QStringList({FakeTableView::FileName}));
    EXPECT_FALSE(button(CommandBar::IDC_CLOSE)->isEnabled());
}
