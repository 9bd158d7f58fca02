// Times the grid on a real table: fill, first paint, full repaint, one page
// scroll with its repaint, and the memory the filled grid takes; then
// auto-size of the whole grid, copy and paste of the whole table, and arrow
// key moves with their repaint.
// With --tints the table view's marks of changes lie on the grid: every
// hundredth cell differs from the original they are measured against.
//   grid_bench TABLE.txt [--png FILE] [--tints]

#include "TableFill.h"

#include "grid/CGridCtrl.h"
#include "table_editor/ChangeMarks.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QTextStream>
#include <QWindow>

#include <malloc.h>
#include <unistd.h>

#include "ThreadClock.h"

#include <cstdio>
#include <ctime>
#include <functional>

namespace {

long ResidentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * sysconf(_SC_PAGESIZE) : 0;
}

using ThreadClock::HeapBytes;
using ThreadClock::Milliseconds;

double AverageMilliseconds(int runs, const std::function<void()>& work)
{
    double total = 0;
    for (int run = 0; run < runs; ++run)
        total += Milliseconds(work);
    return total / runs;
}

void WaitUntilExposed(QWidget& widget)
{
    QElapsedTimer timer;
    timer.start();
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// One arrow key as the user presses it, with the repaint it causes (only
// what the key invalidated is painted, as on screen).
void PressKey(CGridCtrl& grid, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&grid, &press);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

double MegaBytes(long bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: grid_bench TABLE.txt [--png FILE]\n");
        return 2;
    }
    const QString tablePath = args.at(1);
    const int pngIndex = int(args.indexOf(QStringLiteral("--png")));
    const QString pngPath = pngIndex > 0 && pngIndex + 1 < args.size() ? args.at(pngIndex + 1) : QString();

    QFile file(tablePath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(tablePath));
        return 1;
    }
    const QByteArray bytes = file.readAll();

    // The empty application, with one empty grid shown, is the baseline.
    {
        CGridCtrl warmUp(2, 2, 1, 1);
        warmUp.resize(100, 100);
        warmUp.show();
        warmUp.viewport()->repaint();
    }
    QCoreApplication::processEvents();
    malloc_trim(0);
    const long residentBefore = ResidentBytes();
    const long heapBefore = HeapBytes();

    auto grid = std::make_unique<CGridCtrl>();
    grid->resize(1600, 1000);
    const double fill = Milliseconds([&] { TableFill::Fill(*grid, bytes); });
    // The original differs from the table in one cell of a hundred, so as
    // many cells are tinted.
    std::unique_ptr<ChangeMarks> marks;
    if (args.contains(QStringLiteral("--tints"))) {
        QList<QByteArray> lines = bytes.split('\n');
        int cell = 0;
        for (int line = 1; line < lines.size(); ++line) {
            QList<QByteArray> cells = lines[line].split('\t');
            for (int col = 1; col < cells.size(); ++col) {
                if (++cell % 100 == 0)
                    cells[col] = "x" + cells[col];
            }
            lines[line] = cells.join('\t');
        }
        marks = std::make_unique<ChangeMarks>(*grid);
        marks->SetOriginal(lines.join('\n'));
    }
    const long heapAfter = HeapBytes();
    const double autoSize = Milliseconds([&] { grid->AutoSize(); });
    grid->SetFocusCell(1, 1);
    grid->show();
    WaitUntilExposed(*grid);
    const double firstPaint = Milliseconds([&] { grid->viewport()->repaint(); });
    const double repaint = AverageMilliseconds(50, [&] { grid->viewport()->repaint(); });
    const double pageScroll = AverageMilliseconds(10, [&] {
        grid->OnVScroll(SB_PAGEDOWN);
        grid->viewport()->repaint();
    });
    grid->OnVScroll(SB_TOP);
    QCoreApplication::processEvents();
    const long residentAfter = ResidentBytes();

    // Copy everything, then paste it into an empty grid of the same size.
    grid->SetSelectedRange(grid->GetFixedRowCount(), grid->GetFixedColumnCount(), grid->GetRowCount() - 1,
                           grid->GetColumnCount() - 1);
    const double copy = Milliseconds([&] { grid->OnCommand(CGridCtrl::ID_EDIT_COPY); });
    CGridCtrl target(grid->GetRowCount(), grid->GetColumnCount(), 1, 1);
    target.SetFocusCell(1, 1);
    const double paste = Milliseconds([&] { target.OnCommand(CGridCtrl::ID_EDIT_PASTE); });
    const bool pastedAll = target.GetCellText(target.GetRowCount() - 1, target.GetColumnCount() - 1)
                           == grid->GetCellText(grid->GetRowCount() - 1, grid->GetColumnCount() - 1);

    // 1,000 moves inside the view (right and left over ten columns), then
    // 1,000 moves that scroll the view by a row each (down 500 rows and up).
    grid->SetSelectedRange(1, 1, 1, 1);
    grid->SetFocusCell(1, 1);
    QCoreApplication::processEvents();
    const double keyMovesInView = Milliseconds([&] {
        for (int move = 0; move < 1000; ++move)
            PressKey(*grid, move % 20 < 10 ? Qt::Key_Right : Qt::Key_Left);
    });
    const double keyMovesScrolling = Milliseconds([&] {
        for (int move = 0; move < 1000; ++move)
            PressKey(*grid, move < 500 ? Qt::Key_Down : Qt::Key_Up);
    });

    QTextStream out(stdout);
    out << "times are processor time of the program's thread\n";
    if (marks)
        out << "tints: " << marks->Count() << " changed cells marked\n";
    out << "table: " << tablePath << " (" << grid->GetRowCount() << " rows x " << grid->GetColumnCount()
        << " columns)\n";
    out << QString::asprintf("fill:                %8.2f ms\n", fill);
    out << QString::asprintf("first paint:         %8.2f ms\n", firstPaint);
    out << QString::asprintf("full repaint:        %8.2f ms (average of 50)\n", repaint);
    out << QString::asprintf("page scroll+repaint: %8.2f ms (average of 10)\n", pageScroll);
    out << QString::asprintf("auto-size:           %8.2f ms\n", autoSize);
    out << QString::asprintf("fill+auto-size+paint:%8.2f ms (target 100)\n", fill + autoSize + firstPaint);
    out << QString::asprintf("copy whole table:    %8.2f ms (target 100)\n", copy);
    out << QString::asprintf("paste whole table:   %8.2f ms (target 100)%s\n", paste,
                             pastedAll ? "" : " INCOMPLETE");
    out << QString::asprintf("arrow key+repaint:   %8.3f ms per move in view, %.3f ms per move that scrolls\n",
                             keyMovesInView / 1000, keyMovesScrolling / 1000);
    out << "                     (1,000 moves each; target 2)\n";
    out << QString::asprintf("filled grid memory:  %8.2f MB resident, %.2f MB heap above the empty application\n",
                             MegaBytes(residentAfter - residentBefore), MegaBytes(heapAfter - heapBefore));
    out.flush();

    if (!pngPath.isEmpty()) {
        // The picture shows the table's top left with the focus on its first
        // cell, unselected: a selected focus cell is framed in the
        // selection's text colour, which hides the frame.
        grid->SetSelectedRange(-1, -1, -1, -1);
        grid->SetFocusCell(1, 1);
        grid->OnVScroll(SB_TOP);
        grid->OnHScroll(SB_LEFT);
        grid->viewport()->repaint();
        if (!grid->grab().save(pngPath)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(pngPath));
            return 1;
        }
        out << "saved " << pngPath << "\n";
    }
    return 0;
}
