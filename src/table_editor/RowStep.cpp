#include "RowStep.h"

#include "grid/CGridCtrl.h"

QStringList RowStep::RowTexts(const CGridCtrl& grid, int row)
{
    QStringList texts;
    texts.reserve(grid.GetColumnCount());
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        texts.append(grid.GetCellText(row, col));
    return texts;
}

RowStep::RowStep(Kind kind, int row, QStringList texts, int height, const GridMoment& before,
                 const GridMoment& after)
    : TableStep(before, after), kind(kind), row(row), texts(std::move(texts)), height(height)
{
}

qint64 RowStep::Bytes() const
{
    qint64 bytes = qint64(sizeof(*this)) + texts.capacity() * qint64(sizeof(QString));
    for (const QString& text : texts)
        bytes += TextBytes(text);
    return bytes;
}

void RowStep::PutBack(CGridCtrl& grid) const
{
    if (kind == Added)
        Remove(grid);
    else
        Insert(grid);
}

void RowStep::DoAgain(CGridCtrl& grid) const
{
    if (kind == Added)
        Insert(grid);
    else
        Remove(grid);
}

GridCellId RowStep::ChangedCell() const
{
    return GridCellId(row, 1);
}

void RowStep::Insert(CGridCtrl& grid) const
{
    // The grid inserts before an existing row or appends after the last.
    const int at = grid.InsertRow(texts.value(0), row < grid.GetRowCount() ? row : -1);
    if (at < 0)
        return;
    for (int col = 1; col < texts.size(); ++col)
        grid.SetCellText(at, col, texts[col]);
    grid.SetRowHeight(at, height);
}

void RowStep::Remove(CGridCtrl& grid) const
{
    grid.DeleteRow(row);
}
