#include "grid/GridClipboard.h"

#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"
#include "grid/CellTextRule.h"
#include "grid/GridClipboardText.h"
#include "grid/GridErrorReporter.h"
#include "grid/GridSelection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

GridClipboard::GridClipboard(CGridCtrl& grid, GridSelection& selection, const GridCellStore& store)
    : m_grid(grid)
    , m_selection(selection)
    , m_store(store)
{
}

void GridClipboard::OnCopy()
{
    QString text;
    if (m_grid.CopySelection(&text))
        QGuiApplication::clipboard()->setText(text);
}

void GridClipboard::OnCut()
{
    if (!m_grid.IsEditable())
        return;
    QString text;
    if (!m_grid.CopySelection(&text))
        return;
    QGuiApplication::clipboard()->setText(text);
    m_grid.ClearSelection();
}

// An open editor takes the text itself; otherwise it goes to the focus cell,
// or to the top-left cell on screen when no cell has the focus.
void GridClipboard::OnPaste()
{
    if (!m_grid.IsEditable())
        return;
    GridCellId target = m_grid.GetFocusCell();
    if (!m_grid.IsValid(target))
        target = m_grid.GetTopLeftNonFixedCell();
    if (!m_grid.IsValid(target))
        return;
    CGridCellBase* cell = m_grid.GetExistingCell(target.row, target.col);
    if (cell && cell->IsEditing() && cell->GetEditWnd()) {
        cell->GetEditWnd()->paste();
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText())
        m_grid.PasteText(target, QGuiApplication::clipboard()->text());
}

namespace {

void AppendText(QString& copy, QStringView text)
{
    copy += text;
}

// A cell without an object holds its text as Latin-1 bytes.
void AppendText(QString& copy, QByteArrayView latin1)
{
    copy += QLatin1StringView(latin1);
}

} // namespace

// The selection's bounding rectangle, with the unselected cells in it empty.
bool GridClipboard::CopySelection(QString* text) const
{
    const GridCellRange range = m_selection.BoundingRange();
    if (!m_grid.IsValid(range))
        return false;
    *text = GridClipboardText::Encode(m_store.RowAxis(), m_store.ColumnAxis(), range.minRow, range.minCol,
                                      range.maxRow, range.maxCol, [this](int row, int col, QString& copy) {
                                          if (m_grid.GetCellState(row, col) & CellStateSelected)
                                              m_grid.VisitCellText(row, col, [&copy](auto text) { AppendText(copy, text); });
                                      });
    return true;
}

// Empties exactly the cells that a copy takes: the selected ones in shown
// rows and columns.  Unselected cells between two Ctrl-clicked ones keep
// their text.
void GridClipboard::ClearSelection()
{
    if (!m_grid.IsEditable() || !m_grid.IsValid(m_selection.BoundingRange()))
        return;
    const bool allowDraw = SuspendDrawing();
    for (const GridCellId& cell : m_selection.Cells()) {
        if (m_grid.GetRowHeight(cell.row) > 0 && m_grid.GetColumnWidth(cell.col) > 0
            && m_grid.IsCellEditable(cell.row, cell.col))
            m_grid.ModifyCellText(cell.row, cell.col, QString());
    }
    m_grid.SetRedraw(allowDraw);
}

bool GridClipboard::PasteText(const GridCellId& start, const QString& text)
{
    if (!m_grid.IsValid(start) || !m_grid.IsCellEditable(start.row, start.col))
        return false;
    bool dropped = false;
    const bool allowDraw = SuspendDrawing();
    GridClipboardText::Place(GridClipboardText::Decode(text), m_store.RowAxis(), m_store.ColumnAxis(), start.row,
                             start.col, [&](int row, int col, const QString& field) {
                                 if (!m_grid.IsCellEditable(row, col))
                                     return;
                                 const QString kept = CellTextRule::Filter(field);
                                 dropped = dropped || kept.size() != field.size();
                                 m_grid.ModifyCellText(row, col, kept);
                                 m_selection.SetCellSelected({row, col}, false);
                             });
    m_grid.SetRedraw(allowDraw);
    if (dropped)
        GridErrorReporter::Report(&m_grid, CellTextRule::DroppedMessage());
    return true;
}

bool GridClipboard::SuspendDrawing()
{
    const bool allowDraw = m_grid.GetRedraw();
    m_grid.SetRedraw(false);
    return allowDraw;
}
