// Times keeping the recovery record of a large changed table, the two
// halves apart: the window's thread takes the table's bytes from its grid
// (the only part that could ever be felt while typing, and done only at a
// quiet moment, for tables that changed since the last record); the
// writer's thread makes the record's bytes and writes them through the
// safe-write path, sync included.  Without tables on the command line it
// makes a MonStats-sized table (735 rows of 254 columns) and a
// Sounds-sized one (4,700 rows of 25 columns).  The machine is shared:
// each figure is the best of several runs, thread processor time for the
// window's part and wall time for the disk.
//   recovery_bench [TABLE.txt...]

#include "core/CarvestoneSettings.h"
#include "core/SafeFileWriter.h"
#include "grid/CGridCtrl.h"
#include "model/RecoveryRecord.h"
#include "table_editor/CCarvestoneView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ThreadClock.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Runs = 7;

double BestOf(const std::function<double()>& run)
{
    return ThreadClock::BestOf(Runs, run);
}

// A table of that shape whose cells look like a game table's: names in the
// first column, numbers and short codes elsewhere, some cells empty.
QByteArray MakeTable(int rows, int columns)
{
    QByteArray bytes;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            if (col > 0)
                bytes += '\t';
            if (row == 0)
                bytes += "column" + QByteArray::number(col);
            else if (col == 0)
                bytes += "Row Name " + QByteArray::number(row);
            else if ((row + col) % 5 != 0)
                bytes += (col % 3 == 0) ? QByteArray("xyz") + QByteArray::number(col) : QByteArray::number(row * col % 997);
        }
        bytes += "\r\n";
    }
    return bytes;
}

void Measure(const QString& path, const QString& label)
{
    CarvestoneSettings settings;
    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    CCarvestoneView view([folder] { return folder; }, settings);
    view.resize(1600, 1000);
    const QString name = QFileInfo(path).fileName();
    if (!view.OpenTable(name)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        return;
    }
    CGridCtrl& grid = *view.GetCurrentGrid();
    view.BeginUndoStep(QStringLiteral("Edit"));
    grid.ModifyCellText(1, 1, QStringLiteral("45"));
    view.EndUndoStep();

    QByteArray content;
    const double take = BestOf([&] { return ThreadClock::Milliseconds([&] { content = view.TableContent(name); }); });

    RecoveryRecord record;
    record.processId = QCoreApplication::applicationPid();
    record.projectPath = folder + QStringLiteral("Bench.mod");
    const TableViewPart::TableState state = view.TableStates().first();
    record.tables = {{name, true, content, state.savedSize, state.savedTime}};
    QByteArray bytes;
    const double serialize = BestOf([&] { return ThreadClock::Milliseconds([&] { bytes = record.Serialize(); }); });

    QTemporaryDir records;
    const QString target = records.filePath(QStringLiteral("bench.recovery"));
    const double write = BestOf([&] {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!SafeFileWriter::WriteFile(target, bytes, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
        return double(timer.nsecsElapsed()) / 1e6;
    });

    std::printf("%-28s %5d rows %4d columns %8.2f MB  window's thread: take %6.2f ms  "
                "writer's thread: record %6.2f ms + write and sync %6.2f ms\n",
                qPrintable(label), grid.GetRowCount(), grid.GetColumnCount(), double(content.size()) / (1 << 20), take,
                serialize, write);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList tables = QApplication::arguments().mid(1);
    if (!tables.isEmpty()) {
        for (const QString& table : tables)
            Measure(table, QFileInfo(table).fileName());
        return 0;
    }
    QTemporaryDir made;
    for (const auto& [name, rows, columns] :
         {std::tuple{"MonStats-sized.txt", 735, 254}, std::tuple{"Sounds-sized.txt", 4700, 25}}) {
        const QString path = made.filePath(QString::fromLatin1(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(MakeTable(rows, columns)) < 0)
            return 1;
        file.close();
        Measure(path, QString::fromLatin1(name));
    }
    return 0;
}
