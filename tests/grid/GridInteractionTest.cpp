#include "GridTestSupport.h"

#include "grid/CInPlaceEdit.h"
#include "grid/GridSizingBar.h"

#include <QClipboard>
#include <QImage>
#include <QLineEdit>

namespace {

// 8 rows by 6 columns of 20 by 60 pixels, every cell holding "r<row>c<col>", between two controls TAB could reach.
class GridInteraction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        (new QLineEdit(&window))->move(0, 250);
        grid.setParent(&window);
        (new QLineEdit(&window))->move(200, 250);
        window.resize(500, 300);
        window.show();
        grid.SetOwner(&owner);
        for (int row = 0; row < grid.GetRowCount(); ++row)
            for (int col = 0; col < grid.GetColumnCount(); ++col)
                grid.SetCellText(row, col, QStringLiteral("r%1c%2").arg(row).arg(col));
        grid.SetModified(false);
        ShowGrid(grid, QSize(420, 240), 20, 60);
        Activate(window);
        grid.setFocus();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(&grid, key, modifiers); }

    struct Step { Qt::Key key; GridCellId focus; Qt::KeyboardModifiers modifiers = Qt::NoModifier; };

    void Walk(const GridCellId& start, std::initializer_list<Step> steps)
    {
        grid.SetFocusCell(start);
        for (const Step& step : steps) {
            Key(step.key, step.modifiers);
            EXPECT_EQ(grid.GetFocusCell(), step.focus) << "after key " << step.key;
            EXPECT_TRUE(grid.hasFocus()) << "after key " << step.key;
        }
    }

    CInPlaceEdit* OpenEditor() const
    {
        for (CInPlaceEdit* editor : grid.viewport()->findChildren<CInPlaceEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }

    void Drag(QPoint from, QPoint to)
    {
        QTest::mouseMove(grid.viewport(), from);
        QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(grid.viewport(), to);
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, to);
    }

    // The texts of the cells from firstCol to lastCol joined by "|", of each row to lastRow joined by "/".
    QString Texts(int row, int firstCol, int lastCol, int lastRow = -1) const
    {
        QString texts;
        for (int shown = row; shown <= std::max(row, lastRow); ++shown)
            for (int col = firstCol; col <= lastCol; ++col)
                texts += grid.GetCellText(shown, col) + (col < lastCol ? u'|' : u'/');
        return texts.chopped(1);
    }

    RecordingOwner owner;
    QWidget window;
    CGridCtrl grid{8, 6, 1, 1};
};

} // namespace

TEST_F(GridInteraction, NavigationAndPageKeysStopAtTheEdgesSkipHiddenLinesAndBringTheFocusIntoView)
{
    Walk({1, 1}, {{Qt::Key_Up, {1, 1}}, {Qt::Key_Left, {1, 1}}, {Qt::Key_Down, {1, 1}, Qt::AltModifier},
                  {Qt::Key_Backtab, {1, 1}, Qt::ShiftModifier}});
    Walk({7, 5}, {{Qt::Key_Down, {7, 5}}, {Qt::Key_Right, {7, 5}}, {Qt::Key_Tab, {7, 5}}, {Qt::Key_Up, {6, 5}}});
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(6, 5, 6, 5));
    Walk({2, 5}, {{Qt::Key_Tab, {3, 1}}, {Qt::Key_Backtab, {2, 5}, Qt::ShiftModifier}});
    grid.SetRowHeight(3, 0);
    grid.SetColumnWidth(3, 0);
    grid.SetColumnWidth(5, 0);
    Walk({2, 2}, {{Qt::Key_Down, {4, 2}}, {Qt::Key_Up, {2, 2}}, {Qt::Key_Right, {2, 4}}, {Qt::Key_Right, {2, 4}},
                  {Qt::Key_Tab, {4, 1}}, {Qt::Key_Backtab, {2, 4}, Qt::ShiftModifier},
                  {Qt::Key_Home, {2, 1}}, {Qt::Key_End, {2, 4}}, {Qt::Key_Home, {1, 1}, Qt::ControlModifier},
                  {Qt::Key_End, {7, 4}, Qt::ControlModifier}});

    grid.SetColumnCount(30);
    Walk({1, 28}, {{Qt::Key_Right, {1, 29}}, {Qt::Key_Tab, {2, 1}}});
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), 0);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(grid.IsCellVisible(1, 29));

    grid.SetRowCount(60);
    grid.SetFocusCell(1, 1);
    for (const auto& [key, end] : {std::pair{Qt::Key_PageDown, 59}, {Qt::Key_PageUp, 1}}) {
        for (int i = 0; i < 10; ++i)
            Key(key);
        EXPECT_EQ(grid.GetFocusCell(), GridCellId(end, 1));
        EXPECT_TRUE(grid.IsCellVisible(end, 1));
    }
    // Page Down lands below the rows it scrolled over, Page Up one further when one is hidden: hide the one above.
    for (const auto& [key, start, hiddenOffset] : {std::tuple{Qt::Key_PageDown, 5, 0}, {Qt::Key_PageUp, 50, -1}}) {
        SCOPED_TRACE(key);
        const auto page = [&, key = key, start = start] {
            Key(key == Qt::Key_PageDown ? Qt::Key_Home : Qt::Key_End, Qt::ControlModifier);
            grid.SetFocusCell(start, 1);
            Key(key);
            return grid.GetFocusCell().row;
        };
        const int hidden = page() + hiddenOffset;
        grid.SetRowHeight(hidden, 0);
        grid.SetCellText(hidden, 1, QStringLiteral("hidden"));
        page();
        Key(Qt::Key_Delete);
        EXPECT_EQ(grid.GetCellText(hidden, 1).toStdString(), "hidden");
        EXPECT_TRUE(grid.IsCellVisible(grid.GetFocusCell()));
        grid.SetRowHeight(hidden, 20);
    }
}

TEST_F(GridInteraction, TypingEditsShiftArrowsAndShiftTabSelectAndDeleteEmptiesACellUnlessReadOnlyOrVetoed)
{
    grid.SetFocusCell(2, 2);
    QTest::keyClick(&grid, '(');
    ASSERT_NE(OpenEditor(), nullptr);
    QTest::keyClick(OpenEditor(), Qt::Key_Home);
    QTest::keyClick(OpenEditor(), Qt::Key_End);
    QTest::keyClick(OpenEditor(), Qt::Key_Down);
    EXPECT_EQ(grid.GetCellText(2, 2), QStringLiteral("("));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 2));
    ASSERT_NE(OpenEditor(), nullptr);
    EXPECT_EQ(OpenEditor()->selectedText(), QStringLiteral("r3c2"));
    QTest::keyClick(OpenEditor(), Qt::Key_Tab);
    ASSERT_NE(OpenEditor(), nullptr);
    EXPECT_EQ(OpenEditor()->GetColumn(), 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("+x"));
    QTest::keyClick(OpenEditor(), Qt::Key_End);
    grid.OnCommand(CGridCtrl::ID_EDIT_PASTE); // into the open editor, not the cells
    QTest::keyClick(OpenEditor(), Qt::Key_Return);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 3));
    EXPECT_EQ(OpenEditor(), nullptr);
    EXPECT_EQ(grid.GetCellText(3, 3), QStringLiteral("r3c3+x"));

    grid.SetFocusCell(2, 2);
    QTest::mouseMove(grid.viewport(), QPoint(179, 10));
    ASSERT_EQ(grid.viewport()->cursor().shape(), Qt::SizeHorCursor);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(2, 3, 3, 4));
    Key(Qt::Key_Left);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(3, 3, 3, 3));
    Key(Qt::Key_Q);
    ASSERT_NE(OpenEditor(), nullptr);
    QTest::keyClick(OpenEditor(), Qt::Key_Escape);

    ClickCell(grid, 3, 3);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(3, 2, 3, 2));
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Texts(3, 1, 4), QStringLiteral("r3c1||r3c3+x|r3c4"));

    grid.SetFocusCell(2, 5);
    owner.received.clear();
    Key(Qt::Key_Delete);
    EXPECT_EQ(grid.GetCellText(2, 5), QString());
    EXPECT_EQ(owner.Count(GridNotifyBeginEdit) + owner.Count(GridNotifyEndEdit), 2);
    EXPECT_TRUE(grid.GetModified(2, 5));

    grid.SetCellState(3, 5, grid.GetCellState(3, 5) | CellStateReadOnly);
    Key(Qt::Key_Down);
    Key(Qt::Key_Delete);
    EXPECT_EQ(grid.GetCellText(3, 5), QStringLiteral("r3c5"));

    Key(Qt::Key_Down);
    grid.SetModified(false);
    owner.answers[GridNotifyBeginEdit] = -1;
    Key(Qt::Key_Delete);
    Key(Qt::Key_F2);
    Key(Qt::Key_X);
    EXPECT_EQ(OpenEditor(), nullptr);
    EXPECT_EQ(owner.Count(GridNotifyEndEdit), 1);
    owner.answers = {{GridNotifyEndEdit, -1}};
    Key(Qt::Key_Delete);
    EXPECT_EQ(owner.Count(GridNotifyEndEdit), 2);
    EXPECT_EQ(grid.GetCellText(4, 5), QStringLiteral("r4c5"));
    EXPECT_FALSE(grid.GetModified() || grid.GetModified(4, 5));
}

TEST_F(GridInteraction, CutOfACtrlSelectionEmptiesOnlyItsCellsCopyAndPasteReproduceTextsAndSkipHiddenOrReadOnlyCells)
{
    ClickCell(grid, 2, 2);
    ClickCell(grid, 3, 4, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    // The unselected cells of the rectangle are empty fields.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("r2c2\t\t\n\t\tr3c4"));
    EXPECT_EQ(Texts(2, 2, 4, 3), QStringLiteral("|r2c3|r2c4/r3c2|r3c3|"));
    EXPECT_EQ(owner.Count(GridNotifyEndEdit), 2);

    for (auto [row, col, text] : {std::tuple{2, 2, "hpot,qty=3"}, {2, 3, " lead"}, {3, 2, ""}, {3, 3, "trail  "}})
        grid.SetCellText(row, col, QString::fromLatin1(text));
    grid.SetSelectedRange(2, 2, 3, 3);
    grid.OnCommand(CGridCtrl::ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hpot,qty=3\t lead\n\ttrail  "));
    ClickCell(grid, 5, 4);
    owner.received.clear();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Texts(5, 3, 5, 7), QStringLiteral("r5c3|hpot,qty=3| lead/r6c3||trail  /r7c3|r7c4|r7c5"));
    EXPECT_EQ(owner.Count(GridNotifyBeginEdit) + owner.Count(GridNotifyEndEdit), 8) << "every cell offered first";

    // Over hidden lines and a read-only cell, dropping what falls outside and characters a cell cannot hold.
    grid.SetColumnWidth(4, 0);
    grid.SetRowHeight(6, 0);
    grid.SetCellState(7, 5, grid.GetCellState(7, 5) | CellStateReadOnly);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\tc\nd\u0100e\tro\nf"));
    grid.SetFocusCell(5, 3);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Texts(5, 3, 5, 7), QStringLiteral("a|hpot,qty=3|b/r6c3||trail  /de|r7c4|r7c5"));
    grid.SetSelectedRange(5, 3, 7, 5);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\nde\tr7c5")) << "shown cells only";

    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.GetCellText(5, 3), QStringLiteral("a")) << "a picture on the clipboard is no text to paste";
}

TEST_F(GridInteraction, ShiftClickAndDragSelectTheRectangleCtrlClickTogglesHeadingsSelectTheirLinesDragsAutoScroll)
{
    ClickCell(grid, 2, 2);
    EXPECT_EQ(OpenEditor(), nullptr) << "only a click on the focus cell edits";
    ClickCell(grid, 4, 3, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(2, 2, 4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    ClickCell(grid, 6, 5, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 7);
    ClickCell(grid, 3, 3, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    ClickCell(grid, 5, 1);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(5, 1));

    // Dragging selects with the focus following the pointer, but never onto a heading.
    Drag(CellCentre(grid, 2, 2), CellCentre(grid, 4, 3));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(4, 3));
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(2, 2, 4, 3));
    Drag(CellCentre(grid, 2, 2), CellCentre(grid, 5, 0));
    EXPECT_GE(grid.GetFocusCell().col, 1);

    ClickCell(grid, 0, 3);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(1, 3, 7, 3));
    ClickCell(grid, 0, 4, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(1, 3, 7, 4));
    ClickCell(grid, 4, 0);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(4, 1, 4, 5));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(4, 1));
    ClickCell(grid, 0, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 35);
    grid.ResetSelection();
    grid.SetFocusCell(2, 2);
    owner.received.clear();
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedRange(), GridCellRange(1, 1, 7, 5)) << "so does Ctrl+A";
    EXPECT_EQ(owner.Count(GridNotifySelectionChanging) + owner.Count(GridNotifySelectionChanged), 2);
    grid.ResetSelection();
    ASSERT_TRUE(grid.OnCommand(CGridCtrl::ID_EDIT_SELECT_ALL));
    EXPECT_EQ(grid.GetSelectedCount(), 35);

    ClickCell(grid, 2, 2);
    grid.SetFixedRowSelection(false);
    grid.SetFixedColumnSelection(false);
    ClickCell(grid, 4, 0);
    ClickCell(grid, 0, 3);
    EXPECT_FALSE(grid.IsCellSelected(4, 1) || grid.IsCellSelected(5, 3));

    grid.SetRowCount(60);
    const QPoint below(CellCentre(grid, 2, 2).x(), grid.viewport()->height() + 30);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 2, 2));
    QTest::mouseMove(grid.viewport(), below);
    QTest::qWait(200);
    const int reached = grid.GetFocusCell().row;
    EXPECT_GT(reached, 4); // a tick every 25 ms, fewer on a busy machine
    EXPECT_TRUE(grid.IsCellVisible(reached, 2));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QTest::qWait(100);
    EXPECT_EQ(grid.GetFocusCell().row, reached);
}

TEST_F(GridInteraction, BordersDragWithinThreePixelsOfHeadingsRowsHideOnlyIfAllowedAndAutoSizeFitsShownLinesAndHeadings)
{
    const QPoint border(179, 10); // right edge of column 2
    QTest::mouseMove(grid.viewport(), border);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(grid.viewport(), border + QPoint(25, 0));
    const auto* bar = grid.viewport()->findChild<GridSizingBar*>();
    ASSERT_TRUE(bar && bar->isVisible());
    EXPECT_EQ(bar->x(), 204);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(25, 0));
    EXPECT_EQ(grid.GetColumnWidth(2), 84);
    EXPECT_FALSE(bar->isVisible());

    // Inside the body, 8 pixels away, or released where pressed: no change.
    Drag(QPoint(204, 50), QPoint(234, 50));
    Drag(QPoint(196, 10), QPoint(226, 10));
    Drag(QPoint(204, 10), QPoint(204, 10));
    EXPECT_EQ(grid.GetColumnWidth(2), 84);

    Drag(QPoint(70, 59), QPoint(70, 5)); // in the body: a selection, no resize
    EXPECT_EQ(grid.GetRowHeight(2), 20);
    Drag(QPoint(10, 59), QPoint(10, 5)); // bottom edge of row 2, above its top
    EXPECT_EQ(grid.GetRowHeight(2), 0);
    grid.EnableRowHide(false);
    Drag(QPoint(10, 59), QPoint(10, -40)); // now the bottom edge of row 3
    EXPECT_EQ(grid.GetRowHeight(3), 1);

    grid.SetColumnWidth(3, 0);
    Drag(QPoint(204, 10), QPoint(244, 10)); // where column 3 hides
    EXPECT_EQ(grid.GetColumnWidth(3), 40);
    EXPECT_EQ(grid.GetColumnWidth(2), 84);

    // Auto-size fits the shown lines, headings included, and leaves hidden ones hidden.
    grid.SetColumnWidth(3, 0);
    grid.SetCellText(5, 2, QStringLiteral("a rather long text for one cell"));
    grid.SetCellText(0, 4, QStringLiteral("a heading longer than its cells"));
    grid.SetCellText(0, 5, QStringLiteral("two-line\nheading"));
    grid.SetRowHeight(0, 60); // taller than any heading needs: shrinks to fit
    grid.AutoSize();
    EXPECT_EQ(grid.GetColumnWidth(3) + grid.GetRowHeight(2), 0);
    EXPECT_EQ(grid.GetColumnWidth(2), grid.GetCell(5, 2)->GetCellExtent().width());
    EXPECT_EQ(grid.GetRowHeight(5), grid.GetCell(5, 2)->GetCellExtent().height());
    EXPECT_EQ(grid.GetColumnWidth(4), grid.GetCell(0, 4)->GetCellExtent().width());
    EXPECT_EQ(grid.GetRowHeight(0), grid.GetCell(0, 5)->GetCellExtent().height());

    // A double click on a heading's border fits that column to its heading too.
    grid.SetColumnWidth(4, 30);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(CellRect(grid, 0, 4).right(), 10));
    EXPECT_EQ(grid.GetColumnWidth(4), grid.GetCell(0, 4)->GetCellExtent().width());
}

TEST_F(GridInteraction, SortingMovesWholeRowsAndKeepsEqualKeysInOrderBothWays)
{
    // Enough rows that a sort which is not stable shows it; column 1 holds each row's first place.
    grid.SetRowCount(41);
    for (int row = 1; row <= 40; ++row) {
        grid.SetCellText(row, 1, QString::number(row));
        grid.SetCellText(row, 2, QStringList{"b", "D", "a", "A", "b2"}[row % 5]);
    }
    for (const bool ascending : {true, false}) {
        SCOPED_TRACE(ascending);
        ASSERT_TRUE(grid.SortByColumn(2, ascending));
        for (int row = 1; row < 40; ++row) {
            const QString key = grid.GetCellText(row, 2), nextKey = grid.GetCellText(row + 1, 2);
            EXPECT_TRUE(ascending ? key <= nextKey : key >= nextKey) << "row " << row;
            const int place = grid.GetCellText(row, 1).toInt();
            EXPECT_TRUE(key != nextKey || place < grid.GetCellText(row + 1, 1).toInt()) << "row " << row;
            EXPECT_TRUE(place != 3 || grid.GetCellText(row, 3) == QStringLiteral("r3c3")) << "whole rows move";
        }
    }
}
