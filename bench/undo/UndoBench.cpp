// Times undo and redo of one paste over every data cell of a real table
// (MonStats.txt is the largest the game has), each to stay within 50 ms,
// and weighs that paste's history against the heap the open table takes:
// the history is to cost no more than twice the table.  The machine is
// shared, so times are processor time of this thread, best of several runs.
//   undo_bench TABLE.txt

#include "core/CarvestoneSettings.h"
#include "grid/CGridCtrl.h"
#include "table_editor/CCarvestoneView.h"
#include "table_editor/TableHistory.h"
#include "ui/CommandIds.h"

#include "ThreadClock.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

using ThreadClock::HeapBytes;
using ThreadClock::Milliseconds;

// Every data cell with another text of about the same length, as a paste
// of a whole edited table would bring.
QString ReplacementText(const CGridCtrl& grid)
{
    QStringList lines;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        QStringList fields;
        for (int col = 1; col < grid.GetColumnCount(); ++col)
            fields.append(grid.GetCellText(row, col) + QLatin1Char('1'));
        lines.append(fields.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: undo_bench TABLE.txt\n");
        return 2;
    }
    QTemporaryDir folder;
    const QString name = QFileInfo(QString::fromLocal8Bit(argv[1])).fileName();
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), folder.filePath(name))) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 1;
    }
    CarvestoneSettings settings;
    CCarvestoneView view([&] { return folder.path() + QLatin1Char('/'); }, settings);
    view.resize(1000, 700);
    view.show();

    const long heapBeforeOpen = HeapBytes();
    if (!view.OpenTable(name))
        return 1;
    const long tableBytes = HeapBytes() - heapBeforeOpen;
    CGridCtrl& grid = *view.GetCurrentGrid();
    const int cells = (grid.GetRowCount() - 1) * (grid.GetColumnCount() - 1);
    QApplication::clipboard()->setText(ReplacementText(grid));
    grid.SetFocusCell(1, 1);

    const long heapBeforePaste = HeapBytes();
    const double paste = Milliseconds([&] { view.OnCommand(CommandId::EditPaste); });
    const long historyHeap = HeapBytes() - heapBeforePaste;
    const TableHistory& history = *view.CurrentHistory();
    if (history.StepCount() != 1) {
        std::fprintf(stderr, "the paste made %d steps\n", history.StepCount());
        return 1;
    }

    double undo = 1e9;
    double redo = 1e9;
    for (int run = 0; run < 5; ++run) {
        undo = std::min(undo, Milliseconds([&] { view.OnCommand(CommandId::EditUndo); }));
        redo = std::min(redo, Milliseconds([&] { view.OnCommand(CommandId::EditRedo); }));
    }
    std::printf("%s: %d cells pasted in %.1f ms as one step\n", qPrintable(name), cells, paste);
    std::printf("undo %.1f ms, redo %.1f ms (goal: each within 50 ms)\n", undo, redo);
    std::printf("table heap %.1f MB, paste history heap %.1f MB (counted %.1f MB) = %.2f x the table (goal: <= 2)\n",
                tableBytes / 1048576.0, historyHeap / 1048576.0, history.Bytes() / 1048576.0,
                double(historyHeap) / double(tableBytes));
    return 0;
}
