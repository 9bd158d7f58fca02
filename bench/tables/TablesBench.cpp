// Weighs and times every real table as the user meets it: each one opened
// in turn as a tab of the table view, end to end (read, parse, fill, fit the
// column widths, first paint), with the heap it takes once open beside the
// bytes of its file; then a working day: twenty tables opened as tabs, the
// heap before, at the peak and after all of them are closed again (a table
// that is closed gives its memory back).
//   tables_bench [--runs N] [--tabs N] [TABLE.txt | FOLDER]...
// Without tables it takes the game's tables beside the repository and the
// demo's tables.  Times are processor time of the program's thread, the best
// of several runs, as the machine is shared.

#include "core/CarvestoneSettings.h"
#include "table_editor/CCarvestoneView.h"

#include "ThreadClock.h"
#include "ViewBench.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using ThreadClock::HeapBytes;
using ThreadClock::Milliseconds;

constexpr double OpenBudgetMs = 25;
constexpr double DayBudgetMb = 120;
constexpr double LeakAllowanceMb = 1;

struct Table
{
    QString name; // as the project holds it: unique among the tables
    qint64 bytes = 0;
    double openMs = 0;
    long heap = 0;
};

double MegaBytes(long bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// The heap in use once everything freed is back with the allocator.
long SettledHeap()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    malloc_trim(0);
    return HeapBytes();
}

QStringList TableFiles(const QStringList& arguments)
{
    QStringList files;
    for (const QString& argument : arguments) {
        const QFileInfo info(argument);
        if (!info.isDir()) {
            files.append(argument);
            continue;
        }
        const QDir folder(argument);
        for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
            files.append(folder.filePath(name));
    }
    return files;
}

// The same name from two folders (the demo has its own Armor.txt) gets the
// second folder's name in front, so both can lie in one project.
QString UniqueName(const QFileInfo& file, const std::vector<Table>& tables)
{
    const QString name = file.fileName();
    const auto taken = [&tables](const QString& candidate) {
        return std::any_of(tables.cbegin(), tables.cend(),
                           [&candidate](const Table& table) { return table.name == candidate; });
    };
    if (!taken(name))
        return name;
    QDir folder = file.dir();
    if (folder.dirName() == QLatin1String("files"))
        folder.cdUp();
    return folder.dirName() + QLatin1Char('-') + name;
}

void MeasureOpen(Table& table, int runs, const std::function<QString()>& projectFolder,
                 const CarvestoneSettings& settings)
{
    long leastHeap = -1;
    table.openMs = ThreadClock::BestOf(runs, [&] {
        CCarvestoneView view(projectFolder, settings);
        ViewBench::ShowExposed(view);
        const long before = SettledHeap();
        const double opened = Milliseconds([&] { ViewBench::OpenAndPaint(view, table.name); });
        const long heap = HeapBytes() - before;
        leastHeap = leastHeap < 0 ? heap : std::min(leastHeap, heap);
        return opened;
    });
    table.heap = leastHeap;
}

void PrintTables(const std::vector<Table>& tables)
{
    std::printf("%-24s %9s %9s %9s %10s\n", "table", "file KB", "open ms", "heap MB", "heap/file");
    qint64 fileTotal = 0;
    long heapTotal = 0;
    const Table* slowest = &tables.front();
    for (const Table& table : tables) {
        std::printf("%-24s %9.1f %9.1f %9.2f %10.1f\n", qPrintable(table.name), double(table.bytes) / 1024.0,
                    table.openMs, MegaBytes(table.heap), double(table.heap) / double(std::max<qint64>(1, table.bytes)));
        fileTotal += table.bytes;
        heapTotal += table.heap;
        if (table.openMs > slowest->openMs)
            slowest = &table;
    }
    std::printf("all %zu tables: %.0f KB of files take %.1f MB of heap once open, %.1f times their bytes\n",
                tables.size(), double(fileTotal) / 1024.0, MegaBytes(heapTotal),
                double(heapTotal) / double(std::max<qint64>(1, fileTotal)));
    std::printf("slowest open: %.1f ms (%s); budget %.0f ms: %s\n", slowest->openMs, qPrintable(slowest->name),
                OpenBudgetMs, slowest->openMs <= OpenBudgetMs ? "every table within it" : "OVER");
}

// Every table, largest first, then again from the largest until the count
// is reached.
QStringList WorkingDayTabs(std::vector<Table> tables, int count)
{
    std::stable_sort(tables.begin(), tables.end(),
                     [](const Table& a, const Table& b) { return a.bytes > b.bytes; });
    QStringList tabs;
    for (int index = 0; index < count; ++index)
        tabs.append(tables[size_t(index) % tables.size()].name);
    return tabs;
}

// A table opened a second time is a copy under its own name, as a tab per
// file name is all a project can have.
QStringList CopiesForTabs(const QStringList& tabs, const QTemporaryDir& project)
{
    QStringList names;
    for (const QString& tab : tabs) {
        QString name = tab;
        for (int copy = 2; names.contains(name); ++copy)
            name = QStringLiteral("%1-%2").arg(copy).arg(tab);
        if (name != tab)
            QFile::copy(project.filePath(tab), project.filePath(name));
        names.append(name);
    }
    return names;
}

void WorkingDay(const QStringList& tabs, const std::function<QString()>& projectFolder,
                const CarvestoneSettings& settings)
{
    CCarvestoneView view(projectFolder, settings);
    ViewBench::ShowExposed(view);
    const auto openAll = [&] {
        for (const QString& name : tabs)
            ViewBench::OpenAndPaint(view, name);
    };
    const auto closeAll = [&] {
        while (view.GetCurrentGrid())
            view.CloseCurrentTable();
    };
    // A first round leaves what the program keeps once it has shown a
    // table (fonts, glyphs); the day starts after it.
    openAll();
    closeAll();
    const long before = SettledHeap();
    long peak = before;
    const double openMs = Milliseconds([&] {
        for (const QString& name : tabs) {
            ViewBench::OpenAndPaint(view, name);
            peak = std::max(peak, HeapBytes());
        }
    });
    closeAll();
    const long after = SettledHeap();

    std::printf("working day: %lld tables as tabs (%s), opened in %.1f ms, then closed\n",
                static_cast<long long>(tabs.size()), qPrintable(tabs.join(QStringLiteral(", "))), openMs);
    std::printf("  heap before  %8.1f MB\n", MegaBytes(before));
    std::printf("  heap at peak %8.1f MB, %.1f MB above before (budget %.0f MB in all: %s)\n", MegaBytes(peak),
                MegaBytes(peak - before), DayBudgetMb, MegaBytes(peak) < DayBudgetMb ? "within" : "OVER");
    std::printf("  heap after   %8.1f MB, %+.2f MB from before (%s)\n", MegaBytes(after), MegaBytes(after - before),
                MegaBytes(after - before) <= LeakAllowanceMb ? "no leak: within 1 MB" : "LEAK: over 1 MB");
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    int runs = 5;
    int tabCount = 20;
    const std::pair<QString, int*> options[] = {{QStringLiteral("--runs"), &runs},
                                                {QStringLiteral("--tabs"), &tabCount}};
    for (const auto& [option, value] : options) {
        const qsizetype at = arguments.indexOf(option);
        if (at >= 0 && at + 1 < arguments.size()) {
            *value = std::max(1, arguments.at(at + 1).toInt());
            arguments.remove(at, 2);
        }
    }
    if (arguments.isEmpty())
        arguments = {QStringLiteral(CARVESTONE_GAME_TABLES), QStringLiteral(CARVESTONE_DEMO_TABLES)};
    const QStringList files = TableFiles(arguments);
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: tables_bench [--runs N] [--tabs N] [TABLE.txt | FOLDER]...\n");
        return 2;
    }

    // Copies in a project folder of their own: the originals stay untouched.
    QTemporaryDir project;
    std::vector<Table> tables;
    for (const QString& path : files) {
        const QFileInfo file(path);
        Table table{UniqueName(file, tables), file.size()};
        if (!QFile::copy(path, project.filePath(table.name))) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(path));
            return 2;
        }
        QFile::setPermissions(project.filePath(table.name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        tables.push_back(table);
    }
    const CarvestoneSettings settings;
    const auto folder = [&project] { return project.path() + QLatin1Char('/'); };

    std::printf("times are processor time of the program's thread, best of %d runs; heap is what the heap has "
                "handed out\n",
                runs);
    for (Table& table : tables)
        MeasureOpen(table, runs, folder, settings);
    PrintTables(tables);
    WorkingDay(CopiesForTabs(WorkingDayTabs(tables, tabCount), project), folder, settings);
    return 0;
}
