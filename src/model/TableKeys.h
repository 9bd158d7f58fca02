#pragma once

#include <QByteArray>

#include <string_view>
#include <unordered_map>
#include <vector>

class TableFile;

// What matches rows and columns across versions of one table: a column by
// its heading and the heading's occurrence (the n-th "Expansion" column of
// one version is the n-th of another), a row by its first cell.  Row keys
// of several versions share one numbering, so equal first cells get equal
// numbers.
class TableKeys
{
public:
    // One key a column, in column order.
    static std::vector<QByteArray> Columns(const TableFile& table);
    // The numbers of the first cells of rows 1 and on; the cells' bytes
    // must outlive the keys, as they stay in the table.
    std::vector<int> Rows(const TableFile& table);

private:
    std::unordered_map<std::string_view, int> ids;
};
