#include "CCarvestoneView.h"

#include "ChangeCommands.h"
#include "EnterNewNameDialog.h"
#include "NewRowNameDialog.h"
#include "RowStep.h"
#include "TableGrid.h"
#include "core/CarvestoneSettings.h"
#include "core/FileErrorText.h"
#include "core/MessageFormat.h"
#include "core/SafeFileWriter.h"
#include "core/StringTable.h"
#include "grid/CGridCtrl.h"
#include "grid/LogFont.h"
#include "model/FileKind.h"
#include "model/KeptOriginals.h"
#include "model/ProjectEntry.h"
#include "model/TableFile.h"
#include "ui/ChangesLegend.h"
#include "ui/CommandIds.h"
#include "ui/FileKindIcons.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFocusEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QTabBar>

#include <cerrno>

namespace {

const QString ModifiedMarker = QStringLiteral("*");

// The wait cursor and the status texts around a read or a write; "Ready"
// comes back however the work ends.
class BusyIndicator
{
public:
    BusyIndicator(CCarvestoneView& view, int statusId) : view(view)
    {
        Q_EMIT view.StatusMessage(StringTable::Get(statusId));
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyIndicator()
    {
        QApplication::restoreOverrideCursor();
        Q_EMIT view.StatusMessage(StringTable::Get(StringId::Ready));
    }
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

private:
    CCarvestoneView& view;
};

bool CellMatches(const QString& cell, const FindTextDialog::Request& request)
{
    const Qt::CaseSensitivity sensitivity = request.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (request.wholeWord)
        return cell.compare(request.text, sensitivity) == 0;
    return cell.contains(request.text, sensitivity);
}

} // namespace

CCarvestoneView::CCarvestoneView(std::function<QString()> projectFolder, const CarvestoneSettings& settings,
                                 QWidget* parent)
    : QWidget(parent)
    , projectFolder(std::move(projectFolder))
    , settings(settings)
    , tabs(new QTabBar(this))
    , legend(new ChangesLegend(this))
{
    legend->hide();
    setFocusPolicy(Qt::StrongFocus);
    tabs->setObjectName(QStringLiteral("tabs%1").arg(TabStripId));
    tabs->setShape(QTabBar::RoundedSouth);
    tabs->setFocusPolicy(Qt::NoFocus);
    tabs->setDrawBase(true);
    tabs->setExpanding(false);
    tabs->setUsesScrollButtons(true);
    tabs->setElideMode(Qt::ElideNone);
    tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    gridFont = BuildGridFont();
    tabs->setFont(gridFont);
    // Only the user's tab changes come through here: every change the view
    // makes itself blocks the strip's signals, because Qt also reports the
    // first insert and the removal of the current tab, when the grid named
    // by the index is not there yet or no longer there.
    connect(tabs, &QTabBar::currentChanged, this, &CCarvestoneView::OnUserSelectedTab);
    connect(tabs, &QWidget::customContextMenuRequested, this, &CCarvestoneView::OnTabContextMenu);
    LayoutTabs();
}

CCarvestoneView::~CCarvestoneView()
{
    CloseAllTables();
}

// ---- Layout, painting, focus

QFont CCarvestoneView::BuildGridFont() const
{
    LogFont font;
    font.lfHeight = -qRound(settings.GridFontSize * logicalDpiY() / 72.0);
    font.lfWeight = settings.GridFontBold ? LogFont::FW_BOLD : LogFont::FW_NORMAL;
    font.lfItalic = settings.GridFontItalic;
    font.lfFaceName = settings.GridFontName;
    return font.ToQFont();
}

void CCarvestoneView::LayoutTabs()
{
    const int height = tabs->sizeHint().height();
    tabs->setGeometry(0, qMax(0, this->height() - height), width(), height);
    const int legendHeight = legend->sizeHint().height();
    legend->setGeometry(0, qMax(0, tabs->y() - legendHeight), width(), legendHeight);
    for (const auto& entry : entries)
        entry->grid->setGeometry(GridArea());
}

QRect CCarvestoneView::GridArea() const
{
    const int below = tabs->height() + (legend->isVisibleTo(this) ? legend->height() : 0);
    return QRect(0, 0, width(), qMax(0, height() - below));
}

void CCarvestoneView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutTabs();
}

void CCarvestoneView::paintEvent(QPaintEvent*)
{
    if (current)
        return;
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Dark);
    painter.fillRect(GridArea(), background);
    // An empty pane says what to do next; the first table covers it.
    const QColor dark = palette().color(QPalette::WindowText);
    const QColor light = palette().color(QPalette::Window);
    const auto contrast = [&background](const QColor& color) { return qAbs(color.lightness() - background.lightness()); };
    painter.setPen(contrast(dark) >= contrast(light) ? dark : light);
    const int margin = fontMetrics().averageCharWidth() * 4;
    painter.drawText(GridArea().adjusted(margin, margin, -margin, -margin), Qt::AlignCenter | Qt::TextWordWrap,
                     StringTable::Get(StringId::EmptyTableViewHint));
}

void CCarvestoneView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (current)
        current->grid->setFocus(event->reason());
}

// ---- Lookups

int CCarvestoneView::IndexOfPath(const QString& fullPath) const
{
    for (int index = int(entries.size()) - 1; index >= 0; --index) {
        if (entries[size_t(index)]->fullPath == fullPath)
            return index;
    }
    return -1;
}

int CCarvestoneView::IndexOfGrid(const CGridCtrl* grid) const
{
    for (int index = 0; index < int(entries.size()); ++index) {
        if (entries[size_t(index)]->grid.get() == grid)
            return index;
    }
    return -1;
}

int CCarvestoneView::CurrentIndex() const
{
    for (int index = 0; index < int(entries.size()); ++index) {
        if (entries[size_t(index)].get() == current)
            return index;
    }
    return -1;
}

CGridCtrl* CCarvestoneView::GridAt(int index) const
{
    return index >= 0 && index < int(entries.size()) ? entries[size_t(index)]->grid.get() : nullptr;
}

CGridCtrl* CCarvestoneView::GetCurrentGrid() const
{
    return current ? current->grid.get() : nullptr;
}

QString CCarvestoneView::GetCurrentFileName() const
{
    return current ? current->name : QString();
}

GridCellId CCarvestoneView::GetFocusCell() const
{
    return current ? current->grid->GetFocusCell() : GridCellId(-1, -1);
}

QString CCarvestoneView::RowColumnPaneText() const
{
    const GridCellId focus = GetFocusCell();
    if (focus.row < 1 || focus.col < 1)
        return QString();
    return MessageFormat::Format(StringTable::Get(StringId::RowColumnPane), {focus.row, focus.col});
}

bool CCarvestoneView::IsTableOpen(const QString& name) const
{
    const QString path = ProjectEntry::DiskPath(projectFolder(), name);
    return !path.isEmpty() && IndexOfPath(path) >= 0;
}

// ---- Opening

QString CCarvestoneView::PathToOpen(const QString& name)
{
    if (name.isEmpty())
        return {};
    const QString fullPath = ProjectEntry::DiskPath(projectFolder(), name);
    if (fullPath.isEmpty()) {
        ShowError(FileErrorText::ForErrno(EINVAL, name));
        return {};
    }
    if (const int open = IndexOfPath(fullPath); open >= 0) {
        ShowTable(open, false);
        return {};
    }
    return fullPath;
}

bool CCarvestoneView::OpenTable(const QString& name)
{
    const QString fullPath = PathToOpen(name);
    if (fullPath.isEmpty())
        return false;
    TableFile table;
    {
        const BusyIndicator busy(*this, StringId::LoadingFile);
        QByteArray bytes;
        QString error;
        if (!TableFile::ReadFile(fullPath, &bytes, &error)) {
            ShowError(error);
            return false;
        }
        table = TableFile::Parse(bytes);
        AddTable(name, fullPath, table, FileStamp::Of(fullPath));
    }
    // Said once, with the table in view, so the user knows that a save
    // writes the file without that data.
    if (table.DropsData())
        ReportDroppedData(fullPath, table);
    return true;
}

bool CCarvestoneView::OpenRecoveredTable(const QString& name, const QByteArray& content, qint64 savedSize,
                                         qint64 savedTime)
{
    const QString fullPath = PathToOpen(name);
    if (fullPath.isEmpty())
        return false;
    {
        const BusyIndicator busy(*this, StringId::LoadingFile);
        AddTable(name, fullPath, TableFile::Parse(content), FileStamp{savedSize, savedTime});
    }
    // No undo leads back to what the file holds: only a save makes the
    // table clean.
    current->history->ForgetSavedState();
    return true;
}

void CCarvestoneView::AddTable(const QString& name, const QString& fullPath, const TableFile& table, FileStamp saved)
{
    auto added = std::make_unique<TableEntry>(TableEntry{fullPath, name, CreateGrid(), nullptr, nullptr, saved});
    TableEntry& entry = *added;
    CGridCtrl& grid = *entry.grid;
    TableGrid::Fill(grid, table);
    entry.marks = std::make_unique<ChangeMarks>(grid);
    entry.history = std::make_unique<TableHistory>(grid);
    connect(entry.history.get(), &TableHistory::Changed, this, [this, &entry] { FollowHistory(entry); });
    {
        const QSignalBlocker blocker(tabs);
        entries.insert(entries.begin(), std::move(added));
        tabs->insertTab(0, FileKindIcons::Icon(FileKind::IconIndex(name)), name);
    }
    LayoutTabs();
    // The widths are fitted to the grid at the size it is shown at.
    FitColumnWidths(grid);
    if (grid.IsValid(1, 1)) {
        grid.SetSelectedRange(1, 1, 1, 1);
        grid.SetFocusCell(1, 1);
    }
    ShowTable(0, false);
    if (const std::optional<QByteArray> original = KeptOriginals(projectFolder()).Read(name))
        SetTableOriginal(name, *original);
    else
        Q_EMIT OriginalWanted(name);
    Q_EMIT TablesChanged();
}

std::unique_ptr<CGridCtrl> CCarvestoneView::CreateGrid()
{
    auto grid = std::make_unique<CGridCtrl>(0, 0, 0, 0, this);
    grid->hide();
    grid->SetDlgCtrlID(FirstGridId + int(entries.size()));
    grid->SetOwner(this);
    grid->SetEditable(true);
    // A row dragged to nothing would vanish from a table that the game
    // numbers by row.
    grid->EnableRowHide(false);
    grid->setFrameShape(QFrame::NoFrame);
    grid->setFont(gridFont);
    grid->setGeometry(GridArea());
    return grid;
}

void CCarvestoneView::ReportDroppedData(const QString& fullPath, const TableFile& table)
{
    QStringList dropped;
    for (const TableChange& change : table.Changes()) {
        if (change.LosesData())
            dropped.append(change.Describe());
    }
    MessageBoxes::ShowMessageId(this, UserDialogs::TypeOk | UserDialogs::IconWarning, StringId::TableDataDropped,
                                  {QDir::toNativeSeparators(fullPath), dropped.join(QStringLiteral("; "))});
}

void CCarvestoneView::FitColumnWidths(CGridCtrl& grid)
{
    const int width = grid.ClientRect().width();
    grid.AutoSize();
    const int limit = (width - grid.GetColumnWidth(0)) * 2 / 3;
    // Too narrow a grid to cap anything: the auto-sized widths stay.
    if (limit <= 0)
        return;
    for (int col = grid.GetColumnCount() - 1; col >= 0; --col) {
        if (grid.GetColumnWidth(col) > limit)
            grid.SetColumnWidth(col, limit);
    }
}

// ---- Switching

void CCarvestoneView::ShowTable(int index, bool giveFocus)
{
    TableEntry* target = entries[size_t(index)].get();
    if (current && current != target) {
        current->grid->EndEditing();
        current->grid->hide();
    }
    current = target;
    {
        const QSignalBlocker blocker(tabs);
        tabs->setCurrentIndex(index);
    }
    UpdateLegend();
    current->grid->setGeometry(GridArea());
    current->grid->show();
    if (giveFocus)
        current->grid->setFocus(Qt::OtherFocusReason);
    update();
    Q_EMIT FocusCellChanged();
}

void CCarvestoneView::OnUserSelectedTab(int index)
{
    if (index >= 0 && index < int(entries.size()))
        ShowTable(index, false);
}

void CCarvestoneView::SelectNeighbour(int step)
{
    const int count = int(entries.size());
    const int selected = CurrentIndex();
    if (selected < 0)
        return;
    ShowTable((selected + step + count) % count, true);
}

// ---- Saving

bool CCarvestoneView::SaveTable(int index)
{
    if (entries.empty())
        return false;
    if (index == -1)
        index = CurrentIndex();
    if (index < 0 || index >= int(entries.size()))
        return false;
    TableEntry& entry = *entries[size_t(index)];
    // What is still typed in the editor is part of the table.
    entry.grid->EndEditing();
    QString error;
    bool written = false;
    {
        const BusyIndicator busy(*this, StringId::SavingFile);
        written = SafeFileWriter::WriteFile(entry.fullPath, TableGrid::Bytes(*entry.grid), &error);
    }
    if (!written) {
        ShowError(error);
        return false;
    }
    entry.saved = FileStamp::Of(entry.fullPath);
    entry.history->SetClean();
    return true;
}

bool CCarvestoneView::SaveAllModifiedTables()
{
    bool allSaved = true;
    for (int index = int(entries.size()) - 1; index >= 0; --index) {
        CGridCtrl& grid = *entries[size_t(index)]->grid;
        grid.EndEditing();
        if (grid.GetModified() && !SaveTable(index))
            allSaved = false;
    }
    return allSaved;
}

void CCarvestoneView::EndAllEditing() const
{
    for (const auto& entry : entries)
        entry->grid->EndEditing();
}

bool CCarvestoneView::IsAnyTableModified() const
{
    EndAllEditing();
    for (int index = int(entries.size()) - 1; index >= 0; --index) {
        if (entries[size_t(index)]->grid->GetModified())
            return true;
    }
    return false;
}

void CCarvestoneView::MarkCurrentTableModified()
{
    MarkModified(CurrentIndex());
}

void CCarvestoneView::MarkModified(int index)
{
    UpdateTabText(index, true);
}

void CCarvestoneView::UpdateTabText(int index, bool modified)
{
    if (index < 0)
        return;
    const TableEntry& entry = *entries[size_t(index)];
    const int changes = entry.marks ? entry.marks->Count() : 0;
    tabs->setTabText(index, entry.name + (modified ? ModifiedMarker : QString())
                                + (changes > 0 ? QStringLiteral(" (%1)").arg(changes) : QString()));
}

void CCarvestoneView::FollowHistory(TableEntry& entry)
{
    ++entry.revision;
    const int index = IndexOfGrid(entry.grid.get());
    entry.grid->SetModified(!entry.history->IsClean());
    if (index >= 0)
        FollowChanges(*entries[size_t(index)]);
    Q_EMIT TablesChanged();
}

// The marks, the tab and the legend after the table or its original changed.
void CCarvestoneView::FollowChanges(TableEntry& entry)
{
    entry.marks->Refresh();
    UpdateTabText(IndexOfGrid(entry.grid.get()), entry.grid->GetModified());
    if (&entry == current)
        UpdateLegend();
    Q_EMIT ChangesCounted(entry.name, entry.marks->HasOriginal() ? entry.marks->Count() : -1);
}

void CCarvestoneView::UpdateLegend()
{
    const bool shown = current && current->marks->IsShown();
    if (shown)
        legend->SetCount(current->marks->Count());
    if (shown == legend->isVisibleTo(this))
        return;
    legend->setVisible(shown);
    LayoutTabs();
}

void CCarvestoneView::SetTableOriginal(const QString& name, const QByteArray& bytes)
{
    const QString path = ProjectEntry::DiskPath(projectFolder(), name);
    const int index = path.isEmpty() ? -1 : IndexOfPath(path);
    if (index < 0)
        return;
    TableEntry& entry = *entries[size_t(index)];
    entry.marks->SetOriginal(bytes);
    FollowChanges(entry);
}

void CCarvestoneView::GoToCell(const QString& name, int row, int col)
{
    OpenTable(name);
    CGridCtrl* grid = GetCurrentGrid();
    if (!grid || current->name != name || grid->GetRowCount() < 2 || grid->GetColumnCount() < 2)
        return;
    const GridCellId cell(qBound(1, row, grid->GetRowCount() - 1), qBound(1, col, grid->GetColumnCount() - 1));
    grid->SetSelectedRange(cell.row, cell.col, cell.row, cell.col);
    grid->SetFocusCell(cell);
    grid->EnsureVisible(cell);
    grid->setFocus(Qt::OtherFocusReason);
    grid->Refresh();
    Q_EMIT FocusCellChanged();
}

QList<TableViewPart::TableState> CCarvestoneView::TableStates() const
{
    QList<TableState> states;
    for (const auto& entry : entries)
        states.append({entry->name, entry->grid->GetModified(), entry->revision, entry->saved.size, entry->saved.time});
    return states;
}

QByteArray CCarvestoneView::TableContent(const QString& name) const
{
    const QString path = ProjectEntry::DiskPath(projectFolder(), name);
    const int index = path.isEmpty() ? -1 : IndexOfPath(path);
    return index < 0 ? QByteArray() : TableGrid::Bytes(*entries[size_t(index)]->grid);
}

TableHistory* CCarvestoneView::HistoryOf(const CGridCtrl* grid) const
{
    const int index = IndexOfGrid(grid);
    return index < 0 ? nullptr : entries[size_t(index)]->history.get();
}

TableHistory* CCarvestoneView::CurrentHistory() const
{
    return current ? current->history.get() : nullptr;
}

void CCarvestoneView::BeginUndoStep(const QString& name)
{
    if (!current)
        return;
    // An edit still open is a step of its own, before the one that begins.
    current->grid->EndEditing();
    current->history->BeginStep(name);
}

void CCarvestoneView::EndUndoStep()
{
    if (current)
        current->history->EndStep();
}

void CCarvestoneView::ShowError(const QString& text)
{
    MessageBoxes::ShowMessage(this, UserDialogs::TypeOk | UserDialogs::IconError, QStringLiteral("%s"), {text});
}

// ---- Closing

bool CCarvestoneView::CloseCurrentTable()
{
    const int index = CurrentIndex();
    return index < 0 || CloseTableAt(index);
}

bool CCarvestoneView::CloseTable(const QString& name)
{
    const QString path = ProjectEntry::DiskPath(projectFolder(), name);
    const int index = path.isEmpty() ? -1 : IndexOfPath(path);
    return index < 0 || CloseTableAt(index);
}

bool CCarvestoneView::CloseTableAt(int index)
{
    TableEntry& entry = *entries[size_t(index)];
    entry.grid->EndEditing();
    if (entry.grid->GetModified()) {
        const int type = UserDialogs::TypeYesNoCancel | UserDialogs::IconQuestion;
        const int answer = MessageBoxes::ShowMessageId(this, type, StringId::SaveTableChanges, {entry.name});
        if (answer == UserDialogs::IdCancel)
            return false;
        // A save that failed keeps the table open, so the edits survive.
        if (answer == UserDialogs::IdYes && !SaveTable(index))
            return false;
    }
    RemoveTableAt(index);
    return true;
}

void CCarvestoneView::RemoveTableAt(int index)
{
    const bool wasCurrent = entries[size_t(index)].get() == current;
    if (matchGrid == entries[size_t(index)]->grid.get())
        ForgetFindMatch();
    if (wasCurrent)
        current = nullptr;
    {
        const QSignalBlocker blocker(tabs);
        tabs->removeTab(index);
        DiscardEntry(index);
    }
    Q_EMIT TablesChanged();
    if (entries.empty()) {
        UpdateLegend();
        LayoutTabs();
        update();
        Q_EMIT FocusCellChanged();
        Q_EMIT TreeActivationRequested();
        return;
    }
    if (wasCurrent)
        ShowTable(qMax(0, index - 1), true);
    else
        ShowTable(CurrentIndex(), false);
}

// A grid that goes away ends its edit and reports it: no longer to the
// view, whose entry and history for that grid are going away with it.
void CCarvestoneView::DiscardEntry(int index)
{
    entries[size_t(index)]->grid->SetOwner(nullptr);
    const QString name = entries[size_t(index)]->name;
    entries.erase(entries.begin() + index);
    Q_EMIT TableClosed(name);
}

void CCarvestoneView::CloseAllTables()
{
    for (int index = int(entries.size()) - 1; index >= 0; --index) {
        current = nullptr;
        const QSignalBlocker blocker(tabs);
        tabs->removeTab(index);
        DiscardEntry(index);
    }
    ForgetFindMatch();
    UpdateLegend();
    LayoutTabs();
    update();
    Q_EMIT TablesChanged();
}

// ---- Font

void CCarvestoneView::ApplyGridFont()
{
    gridFont = BuildGridFont();
    tabs->setFont(gridFont);
    LayoutTabs();
    for (int index = int(entries.size()) - 1; index >= 0; --index) {
        CGridCtrl& grid = *entries[size_t(index)]->grid;
        grid.setFont(gridFont);
        grid.setGeometry(GridArea());
        FitColumnWidths(grid);
        // Taller rows and wider columns push the cell being worked on out
        // of the window; the person expects to find it where they left it.
        const GridCellId focus = grid.GetFocusCell();
        if (grid.IsValid(focus))
            grid.EnsureVisible(focus);
    }
}

// ---- Grid notifications and the context menu

long CCarvestoneView::OnGridNotify(const GridNotifyInfo& info)
{
    switch (info.code) {
    case GridNotifyBeginEdit:
        if (TableHistory* history = HistoryOf(info.grid))
            history->NoteBeginEdit(info.row, info.column);
        break;
    case GridNotifyEndEdit:
        // The tab of the grid that reports the edit, not whatever is current.
        MarkModified(IndexOfGrid(info.grid));
        if (TableHistory* history = HistoryOf(info.grid)) {
            // Outside a command only typing and the Delete key change a cell;
            // only a cell with an object can have an editor open.
            const CGridCellBase* cell = info.grid->GetExistingCell(info.row, info.column);
            const bool typed = cell && cell->IsEditing();
            history->NoteEndEdit(info.row, info.column, typed ? QStringLiteral("Edit Cell") : QStringLiteral("Delete"));
        }
        break;
    case GridNotifySelectionChanged:
        Q_EMIT FocusCellChanged();
        break;
    case NM_RCLICK:
        if (info.grid == GetCurrentGrid() && info.row >= 1 && info.row < info.grid->GetRowCount() && info.column >= 1
            && info.column < info.grid->GetColumnCount())
            info.grid->SetFocusCell(info.row, info.column);
        Q_EMIT FocusCellChanged();
        Q_EMIT ContextMenuRequested(QCursor::pos());
        break;
    default:
        break;
    }
    return 0;
}

void CCarvestoneView::OnTabContextMenu(QPoint pos)
{
    const int index = tabs->tabAt(pos);
    if (index >= 0 && index != CurrentIndex())
        ShowTable(index, false);
    Q_EMIT ContextMenuRequested(tabs->mapToGlobal(pos));
}

// ---- Commands

bool CCarvestoneView::OnCommand(int id)
{
    if (CGridCtrl* grid = GetCurrentGrid(); grid && (id == CommandId::EditCut || id == CommandId::EditPaste)) {
        OnGridCommand(*grid, id);
        return true;
    }
    if (CGridCtrl* grid = GetCurrentGrid(); grid && grid->OnCommand(id))
        return true;
    if (ChangeCommands::Handles(id)) {
        if (current) {
            ChangeCommands::Run(id, *current);
            UpdateLegend();
            Q_EMIT FocusCellChanged();
        }
        return true;
    }
    switch (id) {
    case CommandId::EditUndo: OnUndoRedo(true); return true;
    case CommandId::EditRedo: OnUndoRedo(false); return true;
    case CommandId::CloseFile: CloseCurrentTable(); return true;
    case CommandId::NextTable: SelectNeighbour(1); return true;
    case CommandId::PreviousTable: SelectNeighbour(-1); return true;
    case CommandId::AddRow: OnAddRow(); return true;
    case CommandId::RemoveRow: OnRemoveRow(); return true;
    case CommandId::RenameRow: OnRenameHeading(false); return true;
    case CommandId::RenameColumn: OnRenameHeading(true); return true;
    case CommandId::EditFind: OnFind(); return true;
    default: return false;
    }
}

bool CCarvestoneView::OnUpdateCommand(int id, CommandState& state)
{
    CGridCtrl* grid = GetCurrentGrid();
    if (grid && grid->OnUpdateCommand(id, state))
        return true;
    if (ChangeCommands::Handles(id)) {
        ChangeCommands::Update(id, current, state);
        return true;
    }
    const GridCellId focus = GetFocusCell();
    switch (id) {
    case CommandId::EditUndo: UpdateUndoRedo(true, state); return true;
    case CommandId::EditRedo: UpdateUndoRedo(false, state); return true;
    case CommandId::CloseFile:
    case CommandId::AddRow: state.enabled = grid != nullptr; return true;
    case CommandId::NextTable:
    case CommandId::PreviousTable: state.enabled = true; return true;
    case CommandId::RemoveRow: state.enabled = grid && focus.row >= 1 && focus.col >= 1; return true;
    case CommandId::RenameRow:
        state.enabled = grid && focus.row >= 0 && focus.col >= 0 && focus.row < grid->GetRowCount();
        return true;
    case CommandId::RenameColumn:
        state.enabled = grid && focus.row >= 0 && focus.col >= 0 && focus.col < grid->GetColumnCount();
        return true;
    case CommandId::EditFind: state.enabled = grid && !findDialog; return true;
    default: return false;
    }
}

// Cut and paste change many cells: all of them are one step.  The editor
// stays open, since a paste while typing goes into the editor and changes
// no cell.
void CCarvestoneView::OnGridCommand(CGridCtrl& grid, int id)
{
    current->history->BeginStep(id == CommandId::EditCut ? QStringLiteral("Cut") : QStringLiteral("Paste"));
    grid.OnCommand(id);
    current->history->EndStep();
    Q_EMIT FocusCellChanged();
}

void CCarvestoneView::OnUndoRedo(bool undo)
{
    TableHistory* history = CurrentHistory();
    if (!history)
        return;
    // Text still in the editor is a change of its own: it is the one undone.
    current->grid->EndEditing();
    if (matchGrid == current->grid.get())
        ForgetFindMatch();
    if (undo)
        history->Undo();
    else
        history->Redo();
    Q_EMIT FocusCellChanged();
}

void CCarvestoneView::UpdateUndoRedo(bool undo, CommandState& state) const
{
    const TableHistory* history = CurrentHistory();
    const QString name = !history ? QString() : undo ? history->UndoName() : history->RedoName();
    state.enabled = history && (undo ? history->CanUndo() : history->CanRedo());
    const QString verb = undo ? QStringLiteral("&Undo") : QStringLiteral("&Redo");
    state.text = state.enabled && !name.isEmpty() ? verb + QLatin1Char(' ') + name : verb;
}

void CCarvestoneView::OnAddRow()
{
    CGridCtrl* grid = GetCurrentGrid();
    if (!grid)
        return;
    grid->EndEditing();
    NewRowNameDialog dialog(this);
    if (UserDialogs::Current().Exec(dialog) != QDialog::Accepted)
        return;
    const GridMoment before = GridMoment::Capture(*grid);
    const int row = grid->InsertRow(dialog.Name());
    if (row < 0)
        return;
    if (grid->IsValid(row, 1)) {
        grid->EnsureVisible(row, 1);
        grid->SetSelectedRange(row, 1, row, 1);
        grid->SetFocusCell(row, 1);
    }
    grid->Refresh();
    MarkCurrentTableModified();
    current->history->Record(QStringLiteral("Add Row"),
                             std::make_shared<RowStep>(RowStep::Added, row, RowStep::RowTexts(*grid, row),
                                                       grid->GetRowHeight(row), before, GridMoment::Capture(*grid)));
    Q_EMIT FocusCellChanged();
}

void CCarvestoneView::OnRemoveRow()
{
    CGridCtrl* grid = GetCurrentGrid();
    const int row = GetFocusCell().row;
    if (!grid || row < 1)
        return;
    grid->EndEditing();
    const int answer = MessageBoxes::ShowMessageId(this, UserDialogs::TypeYesNo | UserDialogs::IconQuestion,
                                                     StringId::DeleteRowQuestion, {row});
    if (answer != UserDialogs::IdYes)
        return;
    if (matchGrid == grid)
        ForgetFindMatch();
    const GridMoment before = GridMoment::Capture(*grid);
    QStringList texts = RowStep::RowTexts(*grid, row);
    const int height = grid->GetRowHeight(row);
    if (!grid->DeleteRow(row))
        return;
    grid->Refresh();
    MarkCurrentTableModified();
    current->history->Record(QStringLiteral("Remove Row"), std::make_shared<RowStep>(RowStep::Removed, row, std::move(texts),
                                                                                     height, before,
                                                                                     GridMoment::Capture(*grid)));
    Q_EMIT FocusCellChanged();
}

void CCarvestoneView::OnRenameHeading(bool column)
{
    CGridCtrl* grid = GetCurrentGrid();
    const GridCellId focus = GetFocusCell();
    if (!grid || !grid->IsValid(focus))
        return;
    grid->EndEditing();
    const int index = column ? focus.col : focus.row;
    const int row = column ? 0 : focus.row;
    const int col = column ? focus.col : 0;
    EnterNewNameDialog dialog(this);
    const int titleId = column ? StringId::RenameColumnTitle : StringId::RenameRowTitle;
    dialog.SetTitle(MessageFormat::Format(StringTable::Get(titleId), {index}));
    dialog.SetName(grid->GetCellText(row, col));
    if (UserDialogs::Current().Exec(dialog) != QDialog::Accepted || dialog.Name().isEmpty())
        return;
    // Through the grid's edit path, so the tab shows "*" like any edit.
    BeginUndoStep(column ? QStringLiteral("Rename Column") : QStringLiteral("Rename Row"));
    grid->ModifyCellText(row, col, dialog.Name());
    EndUndoStep();
}

// ---- Find

void CCarvestoneView::OnFind()
{
    if (findDialog) {
        findDialog->activateWindow();
        return;
    }
    findDialog = new FindTextDialog(this);
    findDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(findDialog, &FindTextDialog::FindNext, this, &CCarvestoneView::OnFindNext);
    connect(findDialog, &QDialog::finished, findDialog, &QWidget::close);
    firstFind = true;
    ForgetFindMatch();
    findDialog->show();
}

void CCarvestoneView::ForgetFindMatch()
{
    matchGrid = nullptr;
    lastMatch = GridCellId(-1, -1);
    focusAfterMatch = GridCellId(-1, -1);
}

void CCarvestoneView::OnFindNext(const FindTextDialog::Request& request)
{
    CGridCtrl* grid = GetCurrentGrid();
    if (!grid || request.text.isEmpty())
        return;
    const int rows = grid->GetRowCount();
    const int cols = grid->GetColumnCount();
    const GridCellId focus = grid->GetFocusCell();
    const bool continueFromMatch = matchGrid == grid && focus == focusAfterMatch && grid->IsValid(lastMatch);
    const GridCellId origin = continueFromMatch ? lastMatch : focus;
    const bool includeOrigin = firstFind && !continueFromMatch;
    firstFind = false;

    // Cells are numbered row by row; the search walks that numbering.
    const qint64 total = qint64(rows) * cols;
    qint64 start = 0;
    if (!grid->IsValid(origin))
        start = request.down ? 0 : total - 1;
    else
        start = qint64(origin.row) * cols + origin.col + (includeOrigin ? 0 : (request.down ? 1 : -1));
    const qint64 step = request.down ? 1 : -1;
    for (qint64 n = start; n >= 0 && n < total; n += step) {
        const int row = int(n / cols);
        const int col = int(n % cols);
        if (!CellMatches(grid->GetCellText(row, col), request))
            continue;
        grid->SetSelectedRange(row, col, row, col);
        grid->SetFocusCell(row, col);
        grid->EnsureVisible(row, col);
        grid->Refresh();
        matchGrid = grid;
        lastMatch = GridCellId(row, col);
        focusAfterMatch = grid->GetFocusCell();
        Q_EMIT FocusCellChanged();
        return;
    }
}
