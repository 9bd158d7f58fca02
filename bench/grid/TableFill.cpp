#include "TableFill.h"

#include "grid/CGridCtrl.h"

#include <QList>

namespace {

QList<QByteArrayView> Lines(const QByteArray& bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        lines.append(QByteArrayView(bytes.constData() + start, stop - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

void TableFill::Fill(CGridCtrl& grid, const QByteArray& bytes)
{
    const QList<QByteArrayView> lines = Lines(bytes);
    const int columns = lines.isEmpty() ? 0 : int(lines.first().count('\t')) + 1;
    grid.SetRedraw(false);
    grid.SetRowCount(int(lines.size()));
    grid.SetColumnCount(columns);
    for (int row = 0; row < lines.size(); ++row) {
        const QByteArrayView line = lines.at(row);
        qsizetype start = 0;
        for (int col = 0; col < columns && start <= line.size(); ++col) {
            qsizetype end = line.indexOf('\t', start);
            if (end < 0)
                end = line.size();
            if (end > start)
                grid.SetCellText(row, col, QString::fromLatin1(line.sliced(start, end - start)));
            start = end + 1;
        }
    }
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetModified(false);
    grid.SetRedraw(true, true);
}
