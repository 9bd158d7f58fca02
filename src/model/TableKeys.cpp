#include "TableKeys.h"

#include "TableFile.h"

#include <QHash>

std::vector<QByteArray> TableKeys::Columns(const TableFile& table)
{
    QHash<QByteArray, int> seen;
    std::vector<QByteArray> keys;
    keys.reserve(size_t(table.ColumnCount()));
    for (int col = 0; col < table.ColumnCount(); ++col) {
        const QByteArray heading = table.Field(0, col).toByteArray();
        keys.push_back(heading + '\0' + QByteArray::number(++seen[heading]));
    }
    return keys;
}

std::vector<int> TableKeys::Rows(const TableFile& table)
{
    std::vector<int> keys;
    keys.reserve(size_t(qMax(0, table.RowCount() - 1)));
    for (int row = 1; row < table.RowCount(); ++row) {
        const QByteArrayView cell = table.Field(row, 0);
        keys.push_back(ids.emplace(std::string_view(cell.data(), size_t(cell.size())), int(ids.size())).first->second);
    }
    return keys;
}
