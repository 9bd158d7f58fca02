#include "GridTestSupport.h"

#include "grid/CInPlaceEdit.h"
#include "grid/CellTextRule.h"
#include "grid/WindowsKeys.h"

#include <QClipboard>
#include <QPointer>
#include <QToolTip>

namespace {

// Records every end-of-edit report (cell, text, last key) before the grid handles it.
class ReportingGrid : public CGridCtrl
{
public:
    ReportingGrid() : CGridCtrl(60, 6, 1, 1) {}
    void OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey, Qt::KeyboardModifiers modifiers) override
    {
        reports.push_back({row, col, text, lastKey});
        CGridCtrl::OnEndInPlaceEdit(row, col, text, lastKey, modifiers);
    }
    struct EndReport { int row, col; QString text; int lastKey; };
    std::vector<EndReport> reports;
};

class InPlaceEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.SetOwner(&owner);
        ShowGrid(grid);
        Activate(grid);
        grid.SetCellText(1, 1, QStringLiteral("hello"));
        grid.SetModified(false);
    }

    CInPlaceEdit* Start(int firstChar, int row = 1, int col = 1)
    {
        CGridCellBase* cell = grid.GetCell(row, col);
        EXPECT_TRUE(cell->Edit(row, col, CellRect(grid, row, col), QPoint(), InPlaceEditId, firstChar));
        return cell->GetEditWnd();
    }

    static void FreeEnded() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    ReportingGrid grid;
    RecordingOwner owner;
};

TEST_F(InPlaceEditTest, HowTheEditStartedPresetsTheTextAndDecidesWhichKeysEndItAndEachEndIsReportedOnce)
{
    // A typed "!" or "%" shares its number with Page Up or Left, a typed space with Space: typed, each one is text.
    using Case = std::tuple<int, QString, QString, int, bool>; // started by, text, selected, caret, exit on arrows
    const Case cases[] = {
        {VK_LBUTTON, "hello", "", 5, false},
        {VK_RETURN, "hello", "", 5, true},
        {VK_BACK, "hell", "", 4, true},
        {VK_TAB, "hello", "hello", 5, true},
        {EditStartByKey(VK_DOWN), "hello", "hello", 5, true},
        {EditStartByKey(VK_PRIOR), "hello", "hello", 5, true},
        {u'x', "x", "", 1, true},
        {u'!', "!", "", 1, true},
        {u' ', " ", "", 1, true},
        {u'%', "%", "", 1, true},
    };
    for (const auto& [startedBy, text, selected, caret, exitOnArrows] : cases) {
        SCOPED_TRACE(startedBy);
        CInPlaceEdit* editor = Start(startedBy);
        EXPECT_EQ(editor->text(), text);
        EXPECT_EQ(editor->selectedText(), selected);
        EXPECT_EQ(editor->cursorPosition(), caret);
        EXPECT_EQ(editor->GetExitOnArrows(), exitOnArrows);
        EXPECT_EQ(editor->geometry(), CellRect(grid, 1, 1)) << "the editor covers the cell";
        EXPECT_TRUE(editor->hasFocus());
        editor->EndEdit();
        FreeEnded();
        grid.SetCellText(1, 1, QStringLiteral("hello"));
    }

    using Ending = std::tuple<Qt::Key, Qt::KeyboardModifiers, int, int>; // key, modifiers, started by, reported
    const Ending endings[] = {
        {Qt::Key_Backtab, Qt::ShiftModifier, VK_LBUTTON, VK_TAB},
        {Qt::Key_Escape, Qt::NoModifier, VK_LBUTTON, VK_ESCAPE},
        {Qt::Key_PageUp, Qt::NoModifier, u'a', VK_PRIOR},
        {Qt::Key_Right, Qt::ControlModifier, VK_LBUTTON, VK_RIGHT},
    };
    for (const auto& [key, modifiers, startedBy, reported] : endings) {
        SCOPED_TRACE(key);
        grid.reports.clear();
        QPointer<CInPlaceEdit> editor = Start(startedBy);
        QTest::keyClick(editor.data(), key, modifiers);
        ASSERT_EQ(grid.reports.size(), 1u);
        EXPECT_EQ(QPoint(grid.reports[0].row, grid.reports[0].lastKey), QPoint(1, reported));
        FreeEnded();
        EXPECT_TRUE(editor.isNull()) << "the editor frees itself after reporting";
        EXPECT_EQ(grid.reports.size(), 1u) << "losing the focus afterwards reports nothing more";
    }

    // In an edit started by a click or F2 the moving keys stay in the box.
    grid.SetCellText(5, 1, QStringLiteral("keep"));
    const auto editorOf = [&] { return grid.GetCell(5, 1)->GetEditWnd(); };
    for (const bool byF2 : {false, true}) {
        SCOPED_TRACE(byF2 ? "F2" : "click");
        grid.SetFocusCell(5, 1);
        if (byF2)
            QTest::keyClick(&grid, Qt::Key_F2);
        else
            ClickCell(grid, 5, 1);
        ASSERT_NE(editorOf(), nullptr);
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}) {
            QTest::keyClick(editorOf(), key);
            ASSERT_NE(editorOf(), nullptr) << key;
            EXPECT_EQ(grid.GetFocusCell(), GridCellId(5, 1)) << key;
            EXPECT_EQ(grid.GetScrollPos32(Qt::Vertical), 0) << key;
        }
        QTest::keyClick(editorOf(), Qt::Key_Home);
        QTest::keyClick(editorOf(), Qt::Key_Right);
        QTest::keyClick(editorOf(), Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(editorOf()->cursorPosition(), 1) << "Home and the arrows move the caret";
        EXPECT_EQ(editorOf()->text(), "keep") << "Alt+letter is swallowed";
        QTest::keyClick(editorOf(), Qt::Key_Escape);
        FreeEnded();
    }
}

TEST_F(InPlaceEditTest, ACellTakesAChangedTextUnlessEscapedOrRevertedScrollingEndsTheEditAndTheEditorGrowsAndFilters)
{
    QTest::keyClick(Start(u'n'), Qt::Key_Escape);
    EXPECT_EQ(grid.reports.at(0).text, "hello") << "Escape puts the first text back";
    EXPECT_EQ(owner.Count(GridNotifyEndEdit), 0) << "an unchanged text is no edit";
    EXPECT_FALSE(grid.GetModified());
    owner.answers[GridNotifyEndEdit] = -1;
    QTest::keyClick(Start(u'n'), Qt::Key_Tab);
    EXPECT_EQ(grid.GetCellText(1, 1), "hello");
    EXPECT_EQ(owner.Count(GridNotifyEndEdit), 1);
    owner.answers.clear();
    CInPlaceEdit* editor = Start(u'n');
    QTest::keyClicks(editor, "ew");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid.GetCellText(1, 1), "new");
    EXPECT_TRUE(grid.GetModified(1, 1));

    grid.SetFocusCell(1, 1);
    QPointer<CInPlaceEdit> scrolled = Start(u'q');
    grid.OnVScroll(SB_LINEDOWN);
    EXPECT_EQ(grid.GetCellText(1, 1), "q");
    QPointer<CInPlaceEdit> deleted = Start(VK_LBUTTON, 3, 3);
    grid.DeleteRow(3);
    FreeEnded();
    EXPECT_TRUE(scrolled.isNull() && deleted.isNull());
    EXPECT_EQ(grid.reports.size(), 4u) << "a deleted cell's editor reports nothing";

    grid.OnVScroll(SB_LINEUP);
    editor = Start(VK_LBUTTON, 1, 2);
    const QRect start = editor->geometry();
    QTest::keyClicks(editor, " and some more");
    const QRect grown = editor->geometry();
    EXPECT_EQ(QRect(start.topLeft(), QSize(grown.width(), start.height())), grown) << "only to the right";
    EXPECT_GE(grown.width(), editor->fontMetrics().horizontalAdvance(editor->text() + "  "));

    QTest::keyClicks(editor, QString(60, u'w'));
    EXPECT_EQ(editor->geometry().right(), grid.ClientRect().right()) << "no further than the grid's edge";
    for (int count = 0; count < 70; ++count)
        QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->geometry().right(), grid.ClientRect().right()) << "deleting does not narrow it";
    editor->EndEdit();
    FreeEnded();

    editor = Start(0x20AC);
    EXPECT_EQ(editor->text(), "q") << "a refused first character costs no text";
    EXPECT_EQ(QToolTip::text(), CellTextRule::DroppedMessage());
    QToolTip::hideText();
    QTest::keyClick(editor, Qt::Key_End);
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QStringLiteral("\u0394"), Qt::NoModifier);
    EXPECT_EQ(editor->text(), "q");
    QGuiApplication::clipboard()->setText(QStringLiteral(" a\tb\r\nc\u20ac"));
    editor->paste();
    EXPECT_EQ(editor->text(), "q abc");
    EXPECT_EQ(QToolTip::text(), CellTextRule::DroppedMessage());
}

} // namespace
