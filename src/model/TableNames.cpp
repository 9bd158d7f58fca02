#include "TableNames.h"

#include "TableFile.h"

#include <QHash>

#include <functional>

namespace {

// texts[i] named as the rule says; number(i) stands for an empty text.
QStringList Named(const QStringList& texts, int first, const std::function<int(int)>& number)
{
    QHash<QString, int> total;
    for (int index = first; index < texts.size(); ++index)
        ++total[texts[index]];
    QHash<QString, int> seen;
    QStringList names(texts.size());
    for (int index = first; index < texts.size(); ++index) {
        const QString& text = texts[index];
        if (text.isEmpty())
            names[index] = QLatin1Char('#') + QString::number(number(index));
        else if (total.value(text) > 1)
            names[index] = text + QLatin1Char('#') + QString::number(++seen[text]);
        else
            names[index] = text;
    }
    return names;
}

} // namespace

QStringList TableNames::RowNames(const TableFile& table)
{
    QStringList firstCells(table.RowCount());
    for (int row = 1; row < table.RowCount(); ++row)
        firstCells[row] = table.Cell(row, 0);
    // The heading row is line 1, so row r is line r + 1.
    return Named(firstCells, 1, [](int row) { return row + 1; });
}

QStringList TableNames::ColumnNames(const TableFile& table)
{
    QStringList headings(table.ColumnCount());
    for (int col = 0; col < table.ColumnCount(); ++col)
        headings[col] = table.Cell(0, col);
    return Named(headings, 0, [](int col) { return col + 1; });
}
