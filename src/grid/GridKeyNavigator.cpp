#include "grid/GridKeyNavigator.h"

#include <algorithm>
#include <utility>

GridKeyNavigator::GridKeyNavigator(GridAxis rows, GridAxis columns)
    : m_rows(std::move(rows))
    , m_columns(std::move(columns))
{
}

GridKeyNavigator::Target GridKeyNavigator::Step(Move move, int row, int column) const
{
    switch (move) {
    case Move::Down:
        return {OrStay(m_rows.NextShown(row), row), column, false};
    case Move::Up:
        return {OrStay(m_rows.PreviousShown(row), row), column, false};
    case Move::Right:
        return {row, OrStay(m_columns.NextShown(column), column), false};
    case Move::Left:
        return {row, OrStay(m_columns.PreviousShown(column), column), false};
    case Move::Tab:
        return Tab(row, column);
    case Move::BackTab:
        return BackTab(row, column);
    case Move::Home:
        return {row, OrStay(m_columns.FirstShown(), column), false};
    case Move::End:
        return {row, OrStay(m_columns.LastShown(), column), false};
    case Move::GridHome:
        return {OrStay(m_rows.FirstShown(), row), OrStay(m_columns.FirstShown(), column), false};
    case Move::GridEnd:
        return {OrStay(m_rows.LastShown(), row), OrStay(m_columns.LastShown(), column), false};
    }
    return {row, column, false};
}

GridKeyNavigator::Target GridKeyNavigator::Tab(int row, int column) const
{
    const int next = m_columns.NextShown(column);
    if (next >= 0)
        return {row, next, false};
    const int nextRow = m_rows.NextShown(row);
    const int firstColumn = m_columns.FirstShown();
    if (nextRow < 0 || firstColumn < 0)
        return {row, column, false};
    return {nextRow, firstColumn, true};
}

GridKeyNavigator::Target GridKeyNavigator::BackTab(int row, int column) const
{
    const int previous = m_columns.PreviousShown(column);
    if (previous >= 0)
        return {row, previous, false};
    const int previousRow = m_rows.PreviousShown(row);
    const int lastColumn = m_columns.LastShown();
    if (previousRow < 0 || lastColumn < 0)
        return {row, column, false};
    return {previousRow, lastColumn, true};
}

int GridKeyNavigator::PageUp(int row, int topRowBefore, int topRowAfter) const
{
    if (topRowAfter == topRowBefore)
        return OrStay(m_rows.FirstShown(), row);
    return OrStay(m_rows.ShownNear(std::max(row - (topRowBefore - topRowAfter), m_rows.FixedCount())), row);
}

int GridKeyNavigator::PageDown(int row, int topRowBefore, int topRowAfter) const
{
    if (topRowAfter == topRowBefore)
        return OrStay(m_rows.LastShown(), row);
    return OrStay(m_rows.ShownNear(std::min(row + (topRowAfter - topRowBefore), m_rows.Count() - 1)), row);
}
