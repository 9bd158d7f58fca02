#include "TableCommands.h"

#include "CliArguments.h"
#include "core/SafeFileWriter.h"
#include "model/TableFile.h"

#include <QDir>

namespace {
const QString ResaveOption = QStringLiteral("--resave");
}

TableCommands::TableCommands(QTextStream& out, QTextStream& err) : out(out), err(err) {}

int TableCommands::Check(const QStringList& arguments)
{
    const CliArguments args(arguments, {ResaveOption});
    if (!args.Fits(1)) {
        err << "usage: carvestone-cli table FILE [--resave OUT]\n";
        return CliArguments::UsageError;
    }
    const QString path = args.Positional().first();
    QByteArray bytes;
    QString error;
    if (!TableFile::ReadFile(path, &bytes, &error)) {
        err << "carvestone-cli: " << error << "\n";
        return CliArguments::UsageError;
    }
    const TableFile table = TableFile::Parse(bytes);
    const QByteArray saved = table.Bytes();
    out << QDir::toNativeSeparators(path) << ": " << table.RowCount() << " rows, " << table.ColumnCount()
        << " columns\n";
    if (saved == bytes)
        out << "unchanged\n";
    for (const TableChange& change : table.Changes())
        out << change.Describe() << "\n";

    const QString resavePath = args.Value(ResaveOption, QString());
    if (!resavePath.isEmpty() && !SafeFileWriter::WriteFile(resavePath, saved, &error)) {
        err << "carvestone-cli: " << error << "\n";
        return CliArguments::UsageError;
    }
    return saved == bytes ? CliArguments::Success : CliArguments::Failure;
}
