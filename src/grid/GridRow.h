#pragma once

#include "grid/CGridCellBase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <memory>
#include <span>
#include <vector>

// One row of a grid.  A game table is hundreds of thousands of cells, and
// almost none of them has anything of its own but its text and its state
// bits, so the row keeps the texts of all its cells as Latin-1 bytes one
// after the other and the state of each cell in a byte.  A cell that gets
// attributes of its own (a format, a colour, a font, an open editor) gets a
// cell object, owned by the row: the object then holds everything about that
// cell, its text and state included, and the row keeps nothing else for it.
// Columns are not checked here; the store checks them before it asks.
class GridRow
{
public:
    // State bits wider than a byte need the cell's object.
    static constexpr quint32 ByteStates = 0xFF;

    int Size() const { return int(m_ends.size()); }

    CGridCellBase* Object(int col) const
    {
        if (m_objects.empty())
            return nullptr;
        const auto found = FindObject(col);
        return found != m_objects.end() && found->col == col ? found->cell.get() : nullptr;
    }
    // The object takes over the cell's text and state.
    CGridCellBase& Adopt(int col, std::unique_ptr<CGridCellBase> cell);
    template <typename Visit>
    void ForEachObject(Visit visit) const
    {
        for (const Owned& owned : m_objects)
            visit(owned.col, *owned.cell);
    }

    // The text and state of a cell without an object.
    QByteArrayView Text(int col) const
    {
        const quint32 start = col == 0 ? 0 : m_ends[size_t(col) - 1];
        return QByteArrayView(m_text.constData() + start, qsizetype(m_ends[size_t(col)] - start));
    }
    void SetText(int col, QByteArrayView latin1);
    // A text of Latin-1 characters, written straight into the row.
    void SetText(int col, QStringView latin1);
    // Every cell's text at once, from column 0; cells beyond the texts given
    // become empty and texts beyond the row are left out.
    void SetTexts(std::span<const QByteArrayView> latin1);
    quint32 State(int col) const
    {
        const CGridCellBase* object = Object(col);
        return object ? object->GetState() : PlainState(col);
    }
    // The state of a cell without an object; bits wider than a byte only
    // for a cell with an object.
    quint32 PlainState(int col) const { return m_states[size_t(col)]; }
    void SetPlainState(int col, quint32 state) { m_states[size_t(col)] = quint8(state); }
    // Adds bits to the state of every cell from column from on, or takes
    // them off every cell.
    void AddStates(quint32 bits, int from);
    void ClearStates(quint32 bits);

    // New empty cells at the end; stateOf(col) gives each its state.
    template <typename StateOf>
    void Grow(int cols, StateOf stateOf);
    void Shrink(int cols);
    // Room for cols cells, so that inserting up to that many cannot fail.
    void Reserve(int cols);
    // An empty cell at col; the cells from col on move one column right.
    void Insert(int col, quint32 state);
    void Erase(int col);

private:
    struct Owned
    {
        int col;
        std::unique_ptr<CGridCellBase> cell;
    };

    std::vector<Owned>::const_iterator FindObject(int col) const;
    std::vector<Owned>::iterator FindObject(int col);
    // Makes the bytes of col size long (moving the later cells along) and
    // answers where they start, for the caller to fill.
    char* MakeRoom(int col, qsizetype size);
    // Adds delta to the ends of the cells from from on (wrapping, so that a
    // delta of -n in two's complement takes n off).
    void ShiftEnds(int from, quint32 delta);

    QByteArray m_text;
    // Where each cell's text ends in m_text; a cell starts where the one
    // before it ends.
    std::vector<quint32> m_ends;
    std::vector<quint8> m_states;
    // Sorted by column.
    std::vector<Owned> m_objects;
};

template <typename StateOf>
void GridRow::Grow(int cols, StateOf stateOf)
{
    const quint32 end = m_ends.empty() ? 0 : m_ends.back();
    m_ends.reserve(size_t(cols));
    m_states.reserve(size_t(cols));
    for (int col = Size(); col < cols; ++col) {
        m_ends.push_back(end);
        m_states.push_back(quint8(stateOf(col)));
    }
}
