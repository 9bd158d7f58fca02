#pragma once

#include "grid/GridCellId.h"

#include <Qt>

class CGridCtrl;
class GridCellStore;
class GridKeyNavigator;
class GridSelection;
class QKeyEvent;
class QString;

// What keys do to a grid: Ctrl and Shift shortcuts run the clipboard and
// select-all commands, navigation keys and TAB move the focus cell, Delete
// empties it, F2 and typed characters start an edit.  While a mouse drag is
// under way the drag owns the selection: keys then move the focus only, and
// typing starts no edit.
class GridKeyboard
{
public:
    GridKeyboard(CGridCtrl& grid, GridSelection& selection, const GridCellStore& store);

    void OnKeyPress(const QKeyEvent& event, bool mouseIdle);
    // vk is a VK_* key value.
    void OnKeyDown(int vk, Qt::KeyboardModifiers modifiers, bool mouseIdle);

private:
    bool OnShortcutKey(int vk, Qt::KeyboardModifiers modifiers);
    void OnCharacter(const QString& text, Qt::KeyboardModifiers modifiers, bool mouseIdle);
    // Carries out the key; answers the cell the focus goes to (focus itself
    // when it stays) and whether TAB wrapped to another row.
    GridCellId Perform(int vk, Qt::KeyboardModifiers modifiers, const GridCellId& focus, bool* wrapped);
    GridCellId PageTarget(const GridKeyNavigator& navigator, bool down, const GridCellId& focus);
    // The selection follows the focus to next; extend keeps its start.
    void SelectTo(const GridCellId& next, const GridCellId& focus, bool extend);

    CGridCtrl& m_grid;
    GridSelection& m_selection;
    const GridCellStore& m_store;
};
