#include "EntryDiff.h"

#include "FileKind.h"
#include "TableNames.h"

#include <QDir>

namespace {

QString KindName(TableDiff::Kind kind)
{
    switch (kind) {
    case TableDiff::Kind::Cell: return QStringLiteral("cell");
    case TableDiff::Kind::RowAdded: return QStringLiteral("row+");
    case TableDiff::Kind::RowRemoved: return QStringLiteral("row-");
    case TableDiff::Kind::ColumnAdded: return QStringLiteral("col+");
    case TableDiff::Kind::ColumnRemoved: return QStringLiteral("col-");
    }
    return {};
}

QString NotATable(const QString& name)
{
    return QStringLiteral("%1 is not a tab-separated table").arg(QDir::toNativeSeparators(name));
}

} // namespace

bool EntryDiff::IsTableName(const QString& entry)
{
    const int kind = FileKind::IconIndex(entry);
    return kind == FileKind::Table || kind == FileKind::UniqueItems || kind == FileKind::SetItems;
}

EntryDiff EntryDiff::Unreadable(const QString& entry, const QString& error)
{
    EntryDiff result;
    result.entry = entry;
    result.kind = Kind::Failed;
    result.error = error;
    return result;
}

EntryDiff EntryDiff::Compare(const QString& entry, const QString& modPath, const QByteArray& mod,
                             const std::optional<QByteArray>& original, const QString& originalName)
{
    EntryDiff result;
    result.entry = entry;
    if (!original) {
        result.kind = Kind::NewFile;
        return result;
    }
    if (mod == *original)
        return result;
    if (!IsTableName(entry)) {
        result.kind = Kind::FileDiffers;
        return result;
    }
    result.base = TableFile::Parse(*original);
    result.mod = TableFile::Parse(mod);
    result.kind = Kind::Failed;
    if (!result.mod.IsTabSeparated())
        result.error = NotATable(modPath);
    else if (!result.base.IsTabSeparated())
        result.error = NotATable(originalName);
    if (!result.error.isEmpty())
        return result;
    result.diff = TableDiff::Compare(result.base, result.mod);
    if (result.diff.HeadingsUnrelated()) {
        result.error = QStringLiteral("the headings of %1 have nothing in common with those of %2")
                           .arg(QDir::toNativeSeparators(modPath), QDir::toNativeSeparators(originalName));
        return result;
    }
    result.kind = Kind::Table;
    return result;
}

int EntryDiff::ChangeCount() const
{
    switch (kind) {
    case Kind::NewFile:
    case Kind::FileDiffers: return 1;
    case Kind::Table: return diff.Count().Total();
    default: return 0;
    }
}

std::vector<EntryDiff::Change> EntryDiff::Changes() const
{
    if (kind == Kind::NewFile || kind == Kind::FileDiffers)
        return {{kind == Kind::NewFile ? QStringLiteral("file+") : QStringLiteral("file~"), {}, {}, {}, {}}};
    if (kind != Kind::Table || diff.IsEmpty())
        return {};
    const QStringList modRows = TableNames::RowNames(mod);
    const QStringList baseRows = TableNames::RowNames(base);
    const QStringList modColumns = TableNames::ColumnNames(mod);
    const QStringList baseColumns = TableNames::ColumnNames(base);
    std::vector<Change> changes;
    changes.reserve(diff.Items().size());
    for (const TableDiff::Item& item : diff.Items()) {
        Change change{KindName(item.kind), {}, {}, {}, {}, item.row, item.col};
        switch (item.kind) {
        case TableDiff::Kind::Cell:
            change.gameValue = base.Cell(item.baseRow, item.baseCol);
            change.modValue = mod.Cell(item.row, item.col);
            change.rowName = modRows.value(item.row);
            change.columnName = modColumns.value(item.col);
            break;
        case TableDiff::Kind::RowAdded: change.rowName = modRows.value(item.row); break;
        case TableDiff::Kind::RowRemoved: change.rowName = baseRows.value(item.baseRow); break;
        case TableDiff::Kind::ColumnAdded: change.columnName = modColumns.value(item.col); break;
        case TableDiff::Kind::ColumnRemoved: change.columnName = baseColumns.value(item.baseCol); break;
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

QStringList EntryDiff::Lines() const
{
    QStringList lines;
    for (const Change& change : Changes())
        lines.append(QStringList{entry, change.kind, change.rowName, change.columnName, change.gameValue,
                                 change.modValue}
                         .join(QLatin1Char('\t')));
    return lines;
}

QStringList EntryDiff::StatLines() const
{
    if (kind != Kind::Table && kind != Kind::Identical)
        return Lines();
    if (kind == Kind::Identical && !IsTableName(entry))
        return {};
    const TableDiff::Counts& counts = diff.Count();
    return {QStringLiteral("%1\t%2\tcell %3\trow+ %4\trow- %5\tcol+ %6\tcol- %7")
                .arg(entry)
                .arg(counts.Total())
                .arg(counts.cells)
                .arg(counts.rowsAdded)
                .arg(counts.rowsRemoved)
                .arg(counts.columnsAdded)
                .arg(counts.columnsRemoved)};
}
