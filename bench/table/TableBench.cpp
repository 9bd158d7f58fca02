// Times the table editor on real tables as the user waits for them: opening
// a table as a tab through the view (read, parse, fill, fit the column
// widths, first paint), saving it, and the heap the open table takes; then
// all tables opened as tabs one after the other, and a stock QTableWidget
// loading and fitting the same tables for comparison.  The machine is
// shared, so each figure is the best of several runs.
//   table_bench TABLE.txt...

#include "core/CarvestoneSettings.h"
#include "grid/CGridCtrl.h"
#include "model/TableFile.h"
#include "table_editor/CCarvestoneView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWindow>

#include <malloc.h>

#include "ThreadClock.h"

#include <cstdio>
#include <ctime>
#include <algorithm>
#include <functional>

namespace {

using ThreadClock::HeapBytes;
using ThreadClock::Milliseconds;

constexpr int Runs = 5;

double BestOf(const std::function<double()>& run)
{
    return ThreadClock::BestOf(Runs, run);
}

void ShowExposed(QWidget& widget)
{
    widget.resize(1600, 1000);
    widget.show();
    QElapsedTimer timer;
    timer.start();
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// Opens the table as the user does and paints the new tab's grid.
void OpenAndPaint(CCarvestoneView& view, const QString& name)
{
    if (!view.OpenTable(name))
        std::fprintf(stderr, "could not open %s\n", qPrintable(name));
    if (CGridCtrl* grid = view.GetCurrentGrid())
        grid->viewport()->repaint();
}

double LoadTableWidget(const QString& path)
{
    QTableWidget widget;
    ShowExposed(widget);
    return Milliseconds([&] {
        QByteArray bytes;
        QString error;
        TableFile::ReadFile(path, &bytes, &error);
        const TableFile table = TableFile::Parse(bytes);
        widget.setRowCount(table.RowCount());
        widget.setColumnCount(table.ColumnCount());
        for (int row = 0; row < table.RowCount(); ++row) {
            for (int col = 0; col < table.FieldCount(row); ++col)
                widget.setItem(row, col, new QTableWidgetItem(table.Cell(row, col)));
        }
        widget.resizeColumnsToContents();
        widget.viewport()->repaint();
    });
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList paths = QCoreApplication::arguments().mid(1);
    if (paths.isEmpty()) {
        std::fprintf(stderr, "usage: table_bench TABLE.txt...\n");
        return 2;
    }
    // The tables are copied into a project folder of their own, so that
    // saving never touches the originals.
    QTemporaryDir project;
    QStringList names;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        if (!QFile::copy(path, project.filePath(name))) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(path));
            return 2;
        }
        QFile::setPermissions(project.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        names.append(name);
    }
    const CarvestoneSettings settings;
    const auto folder = [&project] { return project.path() + QLatin1Char('/'); };

    std::printf("%-20s %6s %9s %9s %8s %8s %8s\n", "table", "KB", "parse ms", "open ms", "save ms", "heap MB",
                "QTW ms");
    double widgetTotal = 0;
    double openTotal = 0;
    for (const QString& name : names) {
        const QString path = project.filePath(name);
        const double parse = BestOf([&] {
            return Milliseconds([&] {
                QByteArray bytes;
                QString error;
                TableFile::ReadFile(path, &bytes, &error);
                TableFile::Parse(bytes);
            });
        });
        long heap = 0;
        double save = 0;
        const double open = BestOf([&] {
            CCarvestoneView view(folder, settings);
            ShowExposed(view);
            malloc_trim(0);
            const long heapBefore = HeapBytes();
            const double opened = Milliseconds([&] { OpenAndPaint(view, name); });
            heap = HeapBytes() - heapBefore;
            save = Milliseconds([&] { view.SaveTable(-1); });
            return opened;
        });
        const double widget = BestOf([&] { return LoadTableWidget(path); });
        openTotal += open;
        widgetTotal += widget;
        std::printf("%-20s %6.0f %9.1f %9.1f %8.1f %8.1f %8.1f\n", qPrintable(name),
                    double(QFileInfo(path).size()) / 1024.0, parse, open, save, double(heap) / (1024.0 * 1024.0),
                    widget);
    }

    const double allTabs = BestOf([&] {
        CCarvestoneView view(folder, settings);
        ShowExposed(view);
        return Milliseconds([&] {
            for (const QString& name : names)
                OpenAndPaint(view, name);
        });
    });
    std::printf("all %lld tables as tabs: %.1f ms; QTableWidget loads them %.1f times slower\n",
                static_cast<long long>(names.size()), allTabs, openTotal > 0 ? widgetTotal / openTotal : 0.0);
    return 0;
}
