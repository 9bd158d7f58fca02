#include "grid/GridClipboardText.h"

namespace {
constexpr QChar Tab = QLatin1Char('\t');
constexpr QChar LineFeed = QLatin1Char('\n');
constexpr QChar CarriageReturn = QLatin1Char('\r');
} // namespace

QString GridClipboardText::Encode(const GridAxis& rows, const GridAxis& columns, int firstRow, int firstColumn,
                                  int lastRow, int lastColumn, const AppendCell& appendCell)
{
    QString text;
    bool firstLine = true;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (!rows.IsShown(row))
            continue;
        if (!firstLine)
            text += LineFeed;
        firstLine = false;
        bool firstField = true;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (!columns.IsShown(column))
                continue;
            if (!firstField)
                text += Tab;
            firstField = false;
            appendCell(row, column, text);
        }
    }
    return text;
}

GridClipboardText::Table GridClipboardText::Decode(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const QString content = nul >= 0 ? text.left(nul) : text;
    Table table;
    const QStringList lines = content.split(LineFeed);
    table.reserve(lines.size());
    for (QString line : lines) {
        if (line.endsWith(CarriageReturn))
            line.chop(1);
        table.append(line.split(Tab));
    }
    return table;
}

int GridClipboardText::ShownFrom(const GridAxis& axis, int index)
{
    return axis.IsShown(index) ? index : axis.NextShown(index);
}

void GridClipboardText::Place(const Table& table, const GridAxis& rows, const GridAxis& columns, int startRow,
                              int startColumn, const CellWrite& write)
{
    int row = ShownFrom(rows, startRow);
    for (const QStringList& fields : table) {
        if (row < 0)
            return;
        int column = ShownFrom(columns, startColumn);
        for (const QString& field : fields) {
            if (column < 0)
                break;
            write(row, column, field);
            column = columns.NextShown(column);
        }
        row = rows.NextShown(row);
    }
}
