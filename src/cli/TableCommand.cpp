#include "TableCommand.h"

#include "core/SafeFileWriter.h"
#include "model/TableFile.h"

#include <QDir>

TableCommand::TableCommand()
    : Command(QStringLiteral("table"), QStringLiteral("FILE"), 1, 1,
              QStringLiteral("Reads the tab-delimited table FILE as the editor does and says what a save from the "
                             "editor would change. Exit 0: the bytes stay the same; 1: a save changes them; 2: wrong "
                             "usage or a file that cannot be read or written."),
              {{QStringLiteral("resave"), QStringLiteral("OUT"), QStringLiteral("write what the editor would save to OUT")}})
{
}

int TableCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QString path = parsed.positionalArguments()[0];
    QByteArray bytes;
    QString error;
    if (!TableFile::ReadFile(path, &bytes, &error)) {
        Fail(context, error);
        return UsageError;
    }
    const TableFile table = TableFile::Parse(bytes);
    const QByteArray saved = table.Bytes();
    context.out << QDir::toNativeSeparators(path) << ": " << table.RowCount() << " rows, " << table.ColumnCount()
                << " columns\n";
    if (saved == bytes)
        context.out << "unchanged\n";
    for (const TableChange& change : table.Changes())
        context.out << change.Describe() << "\n";

    const QString resavePath = parsed.value(QStringLiteral("resave"));
    if (!resavePath.isEmpty() && !SafeFileWriter::WriteFile(resavePath, saved, &error)) {
        Fail(context, error);
        return UsageError;
    }
    return saved == bytes ? Success : Failure;
}
