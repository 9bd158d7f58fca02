#include "grid/GridKeyboard.h"

#include "grid/CGridCtrl.h"
#include "grid/GridKeyNavigator.h"
#include "grid/GridSelection.h"
#include "grid/WindowsKeys.h"

#include <QKeyEvent>

GridKeyboard::GridKeyboard(CGridCtrl& grid, GridSelection& selection, const GridCellStore& store)
    : m_grid(grid)
    , m_selection(selection)
    , m_store(store)
{
}

void GridKeyboard::OnKeyPress(const QKeyEvent& event, bool mouseIdle)
{
    const int vk = WindowsKeyFromQtKey(event.key());
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (OnShortcutKey(vk, modifiers))
        return;
    if (vk == VK_DELETE || vk == VK_TAB || vk == VK_F2 || IsNavigationKey(vk))
        OnKeyDown(vk, modifiers, mouseIdle);
    else
        OnCharacter(event.text(), modifiers, mouseIdle);
}

bool GridKeyboard::OnShortcutKey(int vk, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        switch (vk) {
        case VK_INSERT:
        case 'C': m_grid.OnEditCopy(); return true;
        case 'A': m_grid.SelectAllCells(); return true;
        case 'V': m_grid.OnEditPaste(); return true;
        case 'X': m_grid.OnEditCut(); return true;
        default: return false;
        }
    }
    if ((modifiers & Qt::ShiftModifier) && vk == VK_INSERT) {
        m_grid.OnEditPaste();
        return true;
    }
    return false;
}

void GridKeyboard::OnCharacter(const QString& text, Qt::KeyboardModifiers modifiers, bool mouseIdle)
{
    if (text.isEmpty() || (modifiers & (Qt::ControlModifier | Qt::AltModifier)) || !mouseIdle)
        return;
    const QChar ch = text.at(0);
    const int code = ch.unicode();
    if (code == VK_ESCAPE || (code == VK_TAB && m_grid.GetHandleTabKey()))
        return;
    if (code != VK_BACK && code != VK_RETURN && !ch.isPrint())
        return;
    const GridCellId focus = m_grid.GetFocusCell();
    m_grid.EditCell(focus.row, focus.col, QPoint(-1, -1), code);
}

void GridKeyboard::OnKeyDown(int vk, Qt::KeyboardModifiers modifiers, bool mouseIdle)
{
    const GridCellId focus = m_grid.GetFocusCell();
    if (!m_grid.IsValid(focus))
        return;
    bool wrapped = false;
    const GridCellId next = Perform(vk, modifiers, focus, &wrapped);
    if (next == focus)
        return;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (mouseIdle)
        SelectTo(next, focus, shift && vk != VK_TAB);
    m_grid.SetFocusCell(next);
    if (wrapped && !m_grid.IsCellVisible(next)) {
        // A wrapped TAB starts the new row at its left end (Shift+TAB at its
        // right end), as reading a table line by line expects.
        m_grid.SetScrollPos32(SB_HORZ, vk == VK_TAB && !shift ? 0 : m_grid.GetScrollMax(SB_HORZ));
        m_grid.viewport()->update();
    }
    m_grid.EnsureVisible(next);
}

GridCellId GridKeyboard::Perform(int vk, Qt::KeyboardModifiers modifiers, const GridCellId& focus, bool* wrapped)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const GridKeyNavigator navigator(m_store.RowAxis(), m_store.ColumnAxis());
    using Move = GridKeyNavigator::Move;
    const auto step = [&](Move move) {
        const GridKeyNavigator::Target target = navigator.Step(move, focus.row, focus.col);
        *wrapped = target.wrapped;
        return GridCellId(target.row, target.column);
    };
    switch (vk) {
    case VK_DELETE:
        if (m_grid.IsCellEditable(focus.row, focus.col))
            m_grid.ModifyCellText(focus.row, focus.col, QString());
        return focus;
    case VK_DOWN: return step(Move::Down);
    case VK_UP: return step(Move::Up);
    case VK_RIGHT: return step(Move::Right);
    case VK_LEFT: return step(Move::Left);
    case VK_TAB: return step(shift ? Move::BackTab : Move::Tab);
    case VK_NEXT:
    case VK_PRIOR: return PageTarget(navigator, vk == VK_NEXT, focus);
    case VK_HOME:
        if (ctrl)
            m_grid.OnVScroll(SB_TOP);
        m_grid.OnHScroll(SB_LEFT);
        return step(ctrl ? Move::GridHome : Move::Home);
    case VK_END:
        if (ctrl)
            m_grid.OnVScroll(SB_BOTTOM);
        m_grid.OnHScroll(SB_RIGHT);
        return step(ctrl ? Move::GridEnd : Move::End);
    case VK_F2:
        m_grid.EditCell(focus.row, focus.col, QPoint(-1, -1), VK_LBUTTON);
        return focus;
    default:
        return focus;
    }
}

// The page scrolls first; the focus row follows the top row.
GridCellId GridKeyboard::PageTarget(const GridKeyNavigator& navigator, bool down, const GridCellId& focus)
{
    const int topBefore = m_grid.GetTopLeftNonFixedCell().row;
    m_grid.OnVScroll(down ? SB_PAGEDOWN : SB_PAGEUP);
    const int topAfter = m_grid.GetTopLeftNonFixedCell(true).row;
    const int row = down ? navigator.PageDown(focus.row, topBefore, topAfter)
                         : navigator.PageUp(focus.row, topBefore, topAfter);
    return GridCellId(row, focus.col);
}

void GridKeyboard::SelectTo(const GridCellId& next, const GridCellId& focus, bool extend)
{
    m_selection.Begin(false);
    if (!extend)
        m_selection.SetStart(next);
    else if (!m_grid.IsValid(m_selection.Start()))
        m_selection.SetStart(focus);
    if (m_grid.GetListMode())
        m_selection.SelectRows(next, true);
    else
        m_selection.SelectCells(next, true);
}
