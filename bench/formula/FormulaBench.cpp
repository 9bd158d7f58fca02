// Times the command bar's formula on a whole column of a real table: the
// column's data cells are selected and "+15%" is applied, each changed cell
// reported to the grid's owner as an edit, as in the program.
//   formula_bench TABLE.txt [COLUMN-HEADING] [FORMULA]
// The heading defaults to "Level" (a numeric column of MonStats.txt).

#include "TableFill.h"

#include "grid/CGridCtrl.h"
#include "model/Formula.h"
#include "table_editor/FormulaApplier.h"
#include "ui/TableViewPart.h"

#include "ThreadClock.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

// The table view around one grid, answering the grid's reports as the real
// view does (accepting them) and counting the edits.
class BenchTableView : public TableViewPart, public GridOwner
{
public:
    BenchTableView(CGridCtrl& grid, QString name) : m_grid(grid), m_name(std::move(name)) {}
    bool IsAnyTableModified() const override { return false; }
    bool SaveAllModifiedTables() override { return true; }
    bool OpenTable(const QString&) override { return false; }
    bool IsTableOpen(const QString& name) const override { return name == m_name; }
    bool CloseTable(const QString&) override { return false; }
    void CloseAllTables() override {}
    QString GetCurrentFileName() const override { return m_name; }
    GridCellId GetFocusCell() const override { return m_grid.GetFocusCell(); }
    CGridCtrl* GetCurrentGrid() const override { return &m_grid; }
    void MarkCurrentTableModified() override {}
    void ApplyGridFont() override {}
    long OnGridNotify(const GridNotifyInfo& info) override
    {
        edits += info.code == GridNotifyEndEdit;
        return 0;
    }

    long edits = 0;

private:
    CGridCtrl& m_grid;
    QString m_name;
};

int FindColumn(const CGridCtrl& grid, const QString& heading)
{
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        if (grid.GetCellText(0, col) == heading)
            return col;
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: formula_bench TABLE.txt [COLUMN-HEADING] [FORMULA]\n");
        return 2;
    }
    QFile file(args.at(1));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(args.at(1)), qPrintable(file.errorString()));
        return 1;
    }
    const QString heading = args.size() > 2 ? args.at(2) : QStringLiteral("Level");
    const QString formula = args.size() > 3 ? args.at(3) : QStringLiteral("+15%");

    const std::optional<Formula> parsed = Formula::Parse(formula);
    if (!parsed) {
        std::fprintf(stderr, "\"%s\" is no formula\n", qPrintable(formula));
        return 1;
    }
    CGridCtrl grid;
    TableFill::Fill(grid, file.readAll());
    const int col = FindColumn(grid, heading);
    if (col < 0) {
        std::fprintf(stderr, "no column \"%s\" in %s\n", qPrintable(heading), qPrintable(args.at(1)));
        return 1;
    }
    BenchTableView view(grid, QFileInfo(args.at(1)).fileName());
    grid.SetOwner(&view);
    grid.resize(1000, 700);
    grid.show();
    QApplication::processEvents();

    const int cells = grid.GetRowCount() - 1;
    constexpr int Runs = 20;
    double best = 1e9;
    double total = 0;
    double wallTotal = 0;
    for (int run = 0; run < Runs; ++run) {
        grid.SetSelectedRange(1, col, grid.GetRowCount() - 1, col);
        const auto wallStart = std::chrono::steady_clock::now();
        const double elapsed = ThreadClock::Milliseconds([&] { FormulaApplier::Apply(view, *parsed); });
        wallTotal += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
        best = std::min(best, elapsed);
        total += elapsed;
        QApplication::processEvents();
    }
    std::printf("formula \"%s\" on column \"%s\" of %s: %d cells, %ld edits over %d runs\n", qPrintable(formula),
                qPrintable(heading), qPrintable(QFileInfo(args.at(1)).fileName()), cells, view.edits, Runs);
    std::printf("  processor time per run: best %.2f ms, average %.2f ms (target < 20 ms)\n", best, total / Runs);
    std::printf("  wall time per run: average %.2f ms\n", wallTotal / Runs);
    return 0;
}
