// Times the grid on a real table: fill, first paint, full repaint, one page
// scroll with its repaint, and the memory the filled grid takes.
//   grid_bench TABLE.txt [--png FILE]

#include "TableFill.h"

#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <QWindow>

#include <malloc.h>
#include <unistd.h>

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

long HeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return long(info.uordblks + info.hblkhd);
}

// The processor time of this thread: the machine may be busy with other
// work, which wall-clock time would count against the grid.
double Milliseconds(const std::function<void()>& work)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
}

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
    const long heapAfter = HeapBytes();
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

    QTextStream out(stdout);
    out << "times are processor time of the program's thread\n";
    out << "table: " << tablePath << " (" << grid->GetRowCount() << " rows x " << grid->GetColumnCount()
        << " columns)\n";
    out << QString::asprintf("fill:                %8.2f ms\n", fill);
    out << QString::asprintf("first paint:         %8.2f ms\n", firstPaint);
    out << QString::asprintf("full repaint:        %8.2f ms (average of 50)\n", repaint);
    out << QString::asprintf("page scroll+repaint: %8.2f ms (average of 10)\n", pageScroll);
    out << QString::asprintf("filled grid memory:  %8.2f MB resident, %.2f MB heap above the empty application\n",
                             MegaBytes(residentAfter - residentBefore), MegaBytes(heapAfter - heapBefore));
    out.flush();

    if (!pngPath.isEmpty()) {
        grid->viewport()->repaint();
        if (!grid->grab().save(pngPath)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(pngPath));
            return 1;
        }
        out << "saved " << pngPath << "\n";
    }
    return 0;
}
