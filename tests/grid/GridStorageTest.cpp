#include "GridTestSupport.h"

#include "grid/CellTextRule.h"
#include "grid/GridRowSorter.h"
#include "grid/LogFont.h"

#include <QImage>
#include <QPalette>

#include <functional>
#include <random>
#include <type_traits>

namespace {

QString TextOf(const CGridCtrl& grid, int row, int col)
{
    QString seen;
    grid.VisitCellText(row, col, [&seen](auto text) {
        if constexpr (std::is_same_v<decltype(text), QStringView>)
            seen = text.toString();
        else
            seen = QString::fromLatin1(text);
    });
    return seen;
}

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, QColor(220, 220, 220));
    dark.setColor(QPalette::Light, QColor(90, 90, 96));
    dark.setColor(QPalette::Mid, QColor(40, 40, 44));
    dark.setColor(QPalette::Dark, QColor(20, 20, 22));
    dark.setColor(QPalette::Shadow, QColor(0, 0, 0));
    dark.setColor(QPalette::Highlight, QColor(38, 79, 120));
    dark.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    return dark;
}

} // namespace

TEST(GridCellStorage, ACellGetsAnObjectOnlyForSomethingOfItsOwnAndTheObjectStaysWithItsCellThroughShapeChanges)
{
    CGridCtrl grid(6, 6, 1, 1);
    grid.SetCellText(2, 2, "left");
    grid.SetCellText(2, 3, "abc");
    grid.SetCellText(2, 4, "right");
    grid.SetSelectedRange(2, 2, 3, 3);
    grid.SetFocusCell(2, 3);
    grid.SetCellBackColour(2, 3, CLR_DEFAULT);
    grid.SetCellTextColour(2, 3, CLR_DEFAULT);
    grid.SetCellFormat(2, 3, grid.GetDefaultCell(false, false)->GetFormat());
    EXPECT_EQ(grid.GetCellState(2, 3), CellStateModified | CellStateSelected | CellStateFocused);
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 6; ++col)
            EXPECT_EQ(grid.GetExistingCell(row, col), nullptr) << "texts, marks, selection, focus and default values";
    EXPECT_EQ(grid.GetExistingCell(6, 0), nullptr);

    grid.SetCellFormat(2, 3, DT_RIGHT | DT_SINGLELINE);
    CGridCellBase* own = grid.GetExistingCell(2, 3);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->GetText(), "abc") << "the object takes the cell's text";
    EXPECT_EQ(own->GetState(), CellStateModified | CellStateSelected | CellStateFocused);
    EXPECT_EQ(own->GetFormat(), quint32(DT_RIGHT | DT_SINGLELINE));
    EXPECT_EQ(grid.GetCell(2, 3), own);
    EXPECT_EQ(grid.GetCellText(2, 2) + grid.GetCellText(2, 3) + grid.GetCellText(2, 4), "leftabcright");
    grid.SetCellText(2, 3, "xyz");
    EXPECT_EQ(own->GetText(), "xyz");
    EXPECT_EQ(TextOf(grid, 2, 3) + TextOf(grid, 2, 4), "xyzright");

    grid.SetCellState(4, 4, 0x100 | CellStateReadOnly);
    EXPECT_NE(grid.GetExistingCell(4, 4), nullptr) << "a state wider than a byte";
    EXPECT_EQ(grid.GetCellState(4, 4), 0x108u);
    EXPECT_FALSE(grid.IsCellEditable(4, 4));
    grid.SetCellBackColour(1, 1, RGB(1, 2, 3));
    ASSERT_NE(grid.GetExistingCell(1, 1), nullptr);
    EXPECT_EQ(grid.GetExistingCell(1, 1)->GetBackClr(), RGB(1, 2, 3));

    EXPECT_EQ(grid.InsertColumn("new", DT_CENTER, 2), 2);
    EXPECT_EQ(grid.GetExistingCell(2, 4), own);
    EXPECT_EQ(grid.GetExistingCell(1, 1)->GetBackClr(), RGB(1, 2, 3)) << "a column inserted after it";
    ASSERT_NE(grid.GetExistingCell(5, 2), nullptr);
    EXPECT_EQ(grid.GetExistingCell(5, 2)->GetFormat(), quint32(DT_CENTER)) << "every cell of the column";
    EXPECT_EQ(grid.InsertRow("r", 1), 1);
    EXPECT_EQ(grid.GetExistingCell(3, 4), own);
    EXPECT_EQ(grid.GetCellText(3, 3) + grid.GetCellText(3, 4) + grid.GetCellText(3, 5), "leftxyzright");
    EXPECT_EQ(grid.GetCellState(5, 5), 0x108u);
    EXPECT_TRUE(grid.DeleteColumn(2));
    EXPECT_TRUE(grid.DeleteRow(1));
    EXPECT_EQ(grid.GetExistingCell(2, 3), own);
    EXPECT_EQ(grid.GetCellState(4, 4), 0x108u);
    EXPECT_TRUE(grid.DeleteColumn(3));
    EXPECT_EQ(grid.GetExistingCell(2, 3), nullptr) << "the object went with its column";
    EXPECT_EQ(grid.GetCellText(2, 2) + grid.GetCellText(2, 3), "leftright");
    EXPECT_EQ(grid.GetCellState(4, 3), 0x108u) << "the cell right of it moved left with its object";

    // Sorting moves an object with its row.
    CGridCtrl sorted(5, 3, 1, 1);
    const QStringList keys = {"", "d", "b", "c", "a"};
    for (int row = 1; row < 5; ++row) {
        sorted.SetCellText(row, 1, keys[row]);
        sorted.SetCellText(row, 2, keys[row] + "2");
    }
    CGridCellBase* keyB = sorted.GetCell(2, 2);
    EXPECT_TRUE(sorted.SortByColumn(1, true));
    EXPECT_EQ(sorted.GetCellText(1, 2) + sorted.GetCellText(2, 2) + sorted.GetCellText(3, 2) + sorted.GetCellText(4, 2),
              "a2b2c2d2");
    EXPECT_EQ(sorted.GetExistingCell(2, 2), keyB);
    EXPECT_EQ(sorted.GetExistingCell(3, 2), nullptr);
}

TEST(GridCellStorage, ARowSetAtOnceKeepsToTheCellRuleAndMarksLikeSettingEachCell)
{
    CGridCtrl grid(3, 4, 1, 1);
    grid.SetModified(false);
    grid.SetSortColumn(2);
    const QByteArray tabbed("a\tb");
    const QByteArray nul("n\0ul", 4);
    const QByteArrayView fields[] = {"head", tabbed, "\xE9t\xE9", nul, "beyond"};
    EXPECT_TRUE(grid.SetRowTexts(1, fields));
    EXPECT_EQ(grid.GetCellText(1, 0), "head");
    EXPECT_EQ(grid.GetCellText(1, 1), "ab") << "a TAB would shift the saved table's columns";
    EXPECT_EQ(grid.GetCellText(1, 2), QString::fromLatin1("\xE9t\xE9"));
    EXPECT_EQ(grid.GetCellText(1, 3), "nul");
    EXPECT_EQ(grid.GetSortColumn(), -1) << "the sorted order no longer holds";
    EXPECT_TRUE(grid.GetModified());
    EXPECT_TRUE(grid.GetModified(1, 1) && grid.GetModified(1, 3));
    EXPECT_FALSE(grid.GetCellState(1, 0) & CellStateModified) << "headings never carry the mark";

    grid.SetModified(false);
    grid.GetCell(1, 2);
    EXPECT_TRUE(grid.SetRowTexts(1, std::span<const QByteArrayView>(fields, 1)));
    EXPECT_EQ(grid.GetCellText(1, 0) + grid.GetCellText(1, 1) + grid.GetCellText(1, 2) + grid.GetCellText(1, 3),
              "head") << "cells beyond the texts given become empty, the one with an object too";
    EXPECT_TRUE(grid.GetModified(1, 2) && grid.GetExistingCell(1, 2)->IsModified());
    EXPECT_TRUE(grid.SetRowTexts(0, fields));
    EXPECT_FALSE(grid.GetCellState(0, 1) & CellStateModified);
    EXPECT_FALSE(grid.SetRowTexts(3, fields) || grid.SetRowTexts(-1, fields));

    grid.SetModified(false);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_FALSE(grid.GetCellState(row, col) & CellStateModified) << row << "," << col;
}

// Texts and states are checked against a plain model of the grid after
// every one of many random changes, with cells getting objects on the way.
TEST(GridCellStorage, TextsAndStatesStayWithTheirCellsThroughManyRandomChanges)
{
    std::mt19937 random(25);
    const auto pick = [&random](int count) { return int(random() % unsigned(count)); };
    const QStringList pool = {"", "x", "Sword", QString::fromLatin1("\xC9p\xE9\xE9 \xFF"), "\x01" "ctl",
                              QString(300, 'W'), "tab\there", "12"};
    CGridCtrl grid(4, 4, 1, 1);
    std::vector<QStringList> model(4, QStringList(4));
    const auto check = [&](const char* step) {
        ASSERT_EQ(grid.GetRowCount(), int(model.size())) << step;
        ASSERT_EQ(grid.GetColumnCount(), int(model.front().size())) << step;
        for (int row = 0; row < grid.GetRowCount(); ++row) {
            for (int col = 0; col < grid.GetColumnCount(); ++col) {
                ASSERT_EQ(grid.GetCellText(row, col), model[size_t(row)][col]) << step << " " << row << "," << col;
                ASSERT_EQ(TextOf(grid, row, col), model[size_t(row)][col]) << step;
                quint32 place = 0;
                if (row < 1)
                    place |= CellStateFixed | CellStateFixedRow;
                if (col < 1)
                    place |= CellStateFixed | CellStateFixedColumn;
                ASSERT_EQ(grid.GetCellState(row, col) & (CellStateFixed | CellStateFixedRow | CellStateFixedColumn),
                          place)
                    << step << " " << row << "," << col;
            }
        }
    };
    for (int step = 0; step < 600; ++step) {
        const int rows = grid.GetRowCount();
        const int cols = grid.GetColumnCount();
        switch (pick(9)) {
        case 0: {
            const int row = pick(rows), col = pick(cols);
            const QString text = pool[pick(int(pool.size()))];
            grid.SetCellText(row, col, text);
            model[size_t(row)][col] = CellTextRule::Filter(text);
            check("text");
            break;
        }
        case 1: {
            const int row = pick(rows);
            std::vector<QByteArray> bytes;
            for (int count = pick(cols + 3); count > 0; --count)
                bytes.push_back(pool[pick(int(pool.size()))].toLatin1());
            const std::vector<QByteArrayView> views(bytes.begin(), bytes.end());
            grid.SetRowTexts(row, views);
            for (int col = 0; col < cols; ++col) {
                const bool given = size_t(col) < bytes.size();
                model[size_t(row)][col] = given ? CellTextRule::Filter(QString::fromLatin1(bytes[size_t(col)])) : "";
            }
            check("row");
            break;
        }
        case 2: {
            const int at = rows > 1 && pick(2) ? 1 + pick(rows - 1) : -1;
            const QString heading = pool[pick(int(pool.size()))];
            ASSERT_EQ(grid.InsertRow(heading, at), at < 0 ? rows : at);
            QStringList row(cols);
            row[0] = CellTextRule::Filter(heading);
            model.insert(at < 0 ? model.end() : model.begin() + at, row);
            check("insert row");
            break;
        }
        case 3: {
            const int at = 1 + pick(cols);
            const QString heading = pool[pick(int(pool.size()))];
            ASSERT_EQ(grid.InsertColumn(heading, DT_CENTER, at), at);
            for (size_t row = 0; row < model.size(); ++row)
                model[row].insert(at, row == 0 ? CellTextRule::Filter(heading) : QString());
            check("insert column");
            break;
        }
        case 4:
            if (rows > 2) {
                const int row = 1 + pick(rows - 1);
                ASSERT_TRUE(grid.DeleteRow(row));
                model.erase(model.begin() + row);
                check("delete row");
            }
            break;
        case 5:
            if (cols > 2) {
                const int col = 1 + pick(cols - 1);
                ASSERT_TRUE(grid.DeleteColumn(col));
                for (QStringList& row : model)
                    row.removeAt(col);
                check("delete column");
            }
            break;
        case 6: {
            const int row = pick(rows), col = pick(cols);
            if (pick(2))
                grid.GetCell(row, col)->SetTextClr(RGB(pick(255), 0, 0));
            else
                grid.SetCellFormat(row, col, DT_RIGHT);
            check("object");
            break;
        }
        case 7: {
            const int newRows = std::max(2, rows + pick(5) - 2);
            const int newCols = std::max(2, cols + pick(5) - 2);
            ASSERT_TRUE(grid.SetRowCount(newRows) && grid.SetColumnCount(newCols));
            model.resize(size_t(newRows), QStringList(cols));
            for (QStringList& row : model)
                row.resize(newCols);
            check("counts");
            break;
        }
        case 8: {
            const int col = pick(cols);
            if (rows > 2) {
                ASSERT_TRUE(grid.SortByColumn(col, pick(2)));
                const bool ascending = grid.GetSortAscending();
                std::stable_sort(model.begin() + 1, model.end(), [&](const QStringList& a, const QStringList& b) {
                    const int order = GridRowSorter::CompareTexts(a[col], b[col]);
                    return ascending ? order < 0 : order > 0;
                });
                check("sort");
            }
            break;
        }
        }
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

// Painting and auto-sizing read a cell without an object from its bytes:
// the grid must look and measure the same whether its cells have objects or
// not, in any font.
TEST(GridView, ACellPaintsAndMeasuresTheSameWithAnObjectAsWithout)
{
    const QStringList texts = {"", "plain", QString::fromLatin1("\xC9p\xE9\xE9 \xFF\xD7"), "\x01" "control", "12",
                               "a b c", "spaces after   "};
    const auto fill = [&](CGridCtrl& grid) {
        for (int row = 0; row < grid.GetRowCount(); ++row)
            for (int col = 0; col < grid.GetColumnCount(); ++col)
                grid.SetCellText(row, col, texts[(row + col) % texts.size()]);
        grid.SetCellText(4, 7, QString(60, 'W'));
        for (int col = 1; col < grid.GetColumnCount(); ++col)
            grid.SetCellFormat(0, col, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        grid.SetSelectedRange(2, 2, 3, 4);
        grid.SetFocusCell(3, 3);
    };
    // A grid takes its default colours from the application's palette as
    // it is made.
    const QPalette light = QApplication::palette();
    const std::pair<const char*, QPalette> palettes[] = {{"light", light}, {"dark", DarkPalette()}};
    for (const auto& [paletteName, palette] : palettes) {
        SCOPED_TRACE(paletteName);
        QApplication::setPalette(palette);
        CGridCtrl lean(12, 9, 1, 1);
        CGridCtrl objects(12, 9, 1, 1);
        fill(lean);
        fill(objects);
        for (int row = 0; row < objects.GetRowCount(); ++row)
            for (int col = 0; col < objects.GetColumnCount(); ++col)
                objects.GetCell(row, col);
        QFont bold(QApplication::font());
        bold.setBold(true);
        bold.setPointSize(bold.pointSize() + 3);
        const std::pair<const char*, std::function<void(CGridCtrl&)>> looks[] = {
            {"the application's font", [](CGridCtrl& grid) { grid.setFont(QApplication::font()); }},
            {"a larger bold font", [&bold](CGridCtrl& grid) { grid.setFont(bold); }},
            // Each area (cells, row headings, column headings, the corner)
            // measures in its own font.
            {"a font of its own in each area",
             [](CGridCtrl& grid) {
                 for (int area = 0; area < 4; ++area) {
                     QFont font(QApplication::font());
                     font.setPointSize(font.pointSize() + 2 * area);
                     const LogFont logFont = LogFont::FromQFont(font);
                     grid.GetDefaultCell(area & 2, area & 1)->SetFont(&logFont);
                 }
             }},
        };
        for (const auto& [look, apply] : looks) {
            SCOPED_TRACE(look);
            QImage pictures[2];
            CGridCtrl* grids[2] = {&lean, &objects};
            for (int index = 0; index < 2; ++index) {
                CGridCtrl& grid = *grids[index];
                apply(grid);
                grid.AutoSize();
                grid.SetColumnWidth(7, 40); // cut short: ends in "..."
                grid.resize(900, 300);
                grid.show();
                pictures[index] = grid.viewport()->grab().toImage();
            }
            for (int col = 0; col < lean.GetColumnCount(); ++col)
                EXPECT_EQ(lean.GetColumnWidth(col), objects.GetColumnWidth(col)) << "column " << col;
            for (int row = 0; row < lean.GetRowCount(); ++row)
                EXPECT_EQ(lean.GetRowHeight(row), objects.GetRowHeight(row)) << "row " << row;
            for (int col = 0; col < lean.GetColumnCount() - 2; ++col) {
                int widest = 0;
                for (int row = 0; row < objects.GetRowCount(); ++row)
                    widest = std::max(widest, objects.GetCell(row, col)->GetCellExtent().width());
                EXPECT_EQ(lean.GetColumnWidth(col), widest) << "column " << col;
            }
            EXPECT_TRUE(pictures[0] == pictures[1]);
        }
        for (int col = 0; col < lean.GetColumnCount(); ++col)
            EXPECT_EQ(lean.GetExistingCell(5, col), nullptr) << "measuring and painting made no object";
    }
    QApplication::setPalette(light);

    // "T" before the last Latin-1 letter is a pair the font kerns, which
    // glyph advances added up do not: a cell with an object and one without
    // must both take it the same way.
    CGridCtrl kerned(1, 2, 0, 0);
    for (int col = 0; col < 2; ++col)
        kerned.SetCellText(0, col, QString::fromLatin1("T\xFF"));
    kerned.GetCell(0, 1);
    kerned.AutoSize();
    EXPECT_EQ(kerned.GetColumnWidth(0), kerned.GetColumnWidth(1));

    // Control characters have no glyph advance to add up: a text holding
    // one is measured as the font's metrics lay it out.
    std::vector<char16_t> controls;
    for (char16_t code = 1; code < 0xA0; code = code == 0x1F ? 0x7F : code + 1) {
        if (CellTextRule::IsAllowed(QChar(code)))
            controls.push_back(code);
    }
    CGridCtrl withControls(1, int(controls.size()), 0, 0);
    for (int col = 0; col < withControls.GetColumnCount(); ++col)
        withControls.SetCellText(0, col, QString("ab") + QChar(controls[size_t(col)]) + "cd");
    withControls.AutoSize();
    const QFontMetrics metrics(QApplication::font());
    const int margins = 4 * int(withControls.GetDefaultCell(false, false)->GetMargin());
    for (int col = 0; col < withControls.GetColumnCount(); ++col) {
        EXPECT_EQ(withControls.GetColumnWidth(col) - margins,
                  metrics.horizontalAdvance(withControls.GetCellText(0, col)))
            << "character " << int(controls[size_t(col)]);
    }

    // Upright text measures turned: its height is the column's width.
    CGridCtrl upright(2, 2, 0, 0);
    LogFont font = LogFont::FromQFont(QApplication::font());
    font.lfEscapement = 900;
    upright.GetDefaultCell(false, false)->SetFont(&font);
    upright.SetCellText(1, 1, "a long heading");
    upright.AutoSize();
    EXPECT_EQ(QSize(upright.GetColumnWidth(1), upright.GetRowHeight(1)), upright.GetCell(1, 1)->GetCellExtent());
    EXPECT_GT(upright.GetRowHeight(1), upright.GetColumnWidth(1));
}
