// Times what a MOD changed against the game, on a MOD of 20 tables as large
// as the game's largest: ten of 4,700 rows (ItemStatCost's rows again and
// again, each named anew) and ten of 256 columns (Skills and MonStats), with
// one cell in a hundred changed.  Figures: the comparison of all 20 (parse
// both versions, match rows and columns, compare the cells), the report
// carvestone-cli diff prints, and the table view's fresh map after one edit
// of the largest table (the grid's cells read back and compared).  The
// machine is shared: each figure is the best of several runs of the
// thread's processor time.
//   changes_bench TABLES-FOLDER

#include "grid/CGridCtrl.h"
#include "model/EntryDiff.h"
#include "model/TableFile.h"
#include "table_editor/ChangeMarks.h"
#include "table_editor/TableGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>

#include "ThreadClock.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using ThreadClock::Milliseconds;

constexpr int Runs = 5;
constexpr int LongRows = 4700;

double BestOf(const std::function<void()>& work)
{
    double best = Milliseconds(work);
    for (int run = 1; run < Runs; ++run)
        best = std::min(best, Milliseconds(work));
    return best;
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
    return file.readAll();
}

// The table's rows again and again, each named anew, to the given count.
QByteArray Lengthened(const QByteArray& table, int rows)
{
    const QList<QByteArray> lines = table.split('\n');
    QByteArray out = lines[0] + '\n';
    for (int row = 1; row < rows; ++row) {
        const QByteArray& line = lines[1 + (row - 1) % (lines.size() - 2)];
        out += line.left(line.indexOf('\t')) + ' ' + QByteArray::number(row) + line.mid(line.indexOf('\t')) + '\n';
    }
    return out;
}

// One cell in a hundred of the data rows changed.
QByteArray Edited(const QByteArray& table, quint32 seed)
{
    QRandomGenerator random(seed);
    QList<QByteArray> lines = table.split('\n');
    for (int line = 1; line < lines.size(); ++line) {
        QList<QByteArray> cells = lines[line].split('\t');
        for (int col = 1; col < cells.size(); ++col) {
            if (random.bounded(100) == 0)
                cells[col] = cells[col].startsWith('\r') ? "9\r" : "9" + cells[col];
        }
        lines[line] = cells.join('\t');
    }
    return lines.join('\n');
}

struct Table
{
    QString entry;
    QByteArray original;
    QByteArray mod;
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: changes_bench TABLES-FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QByteArray long1 = Lengthened(Read(folder.filePath("ItemStatCost.txt")), LongRows);
    const QByteArray skills = Read(folder.filePath("Skills.txt"));
    const QByteArray monStats = Read(folder.filePath("MonStats.txt"));
    std::vector<Table> mod;
    for (int index = 0; index < 20; ++index) {
        const QByteArray& original = index < 10 ? long1 : index % 2 ? skills : monStats;
        mod.push_back({QStringLiteral("data\\global\\excel\\table%1.txt").arg(index), original,
                       Edited(original, quint32(index + 1))});
    }
    qint64 cells = 0;
    for (const Table& table : mod) {
        const TableFile parsed = TableFile::Parse(table.original);
        cells += qint64(parsed.RowCount()) * parsed.ColumnCount();
    }

    int changes = 0;
    const double compare = BestOf([&] {
        changes = 0;
        for (const Table& table : mod)
            changes += EntryDiff::Compare(table.entry, table.entry, table.mod, table.original, table.entry).ChangeCount();
    });
    qsizetype reportLines = 0;
    const double report = BestOf([&] {
        reportLines = 0;
        for (const Table& table : mod)
            reportLines += EntryDiff::Compare(table.entry, table.entry, table.mod, table.original, table.entry).Lines().size();
    });

    // The view's map after an edit of MonStats: the grid read back and compared.
    CGridCtrl grid;
    TableGrid::Fill(grid, TableFile::Parse(Edited(monStats, 99)));
    ChangeMarks marks(grid);
    marks.SetOriginal(monStats);
    const double refresh = BestOf([&] { marks.Refresh(); });

    QTextStream out(stdout);
    out << "times are the best of " << Runs << " runs, processor time of the program's thread\n";
    out << "MOD: 20 tables, 10 of " << LongRows << " rows x 53 columns, 10 of 256 columns (Skills, MonStats); "
        << cells << " cells, " << changes << " changes\n";
    out << QString::asprintf("compare all 20 tables:        %8.2f ms (target 100)\n", compare);
    out << QString::asprintf("compare and word the report:  %8.2f ms (%lld lines)\n", report, qint64(reportLines));
    out << QString::asprintf("view's map after one edit:    %8.2f ms (MonStats, %d changes)\n", refresh, marks.Count());
    return 0;
}
