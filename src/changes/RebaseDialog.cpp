#include "RebaseDialog.h"

#include "GameCopies.h"
#include "RebasePreviewTint.h"
#include "core/CarvestoneSettings.h"
#include "grid/CGridCtrl.h"
#include "model/EntryDiff.h"
#include "model/KeptOriginals.h"
#include "model/ProjectEntry.h"
#include "model/TableFile.h"
#include "project/CCarvestoneDoc.h"
#include "table_editor/CCarvestoneView.h"
#include "table_editor/ChangeMarks.h"
#include "table_editor/TableGrid.h"
#include "ui/ChangesLegend.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

RebaseDialog::RebaseDialog(const CCarvestoneDoc& document, const CarvestoneSettings& settings, GameCopies& copies,
                           const QString& onto, QWidget* parent)
    : ArchiveWorkDialog(parent)
    , document(document)
    , settings(settings)
    , copies(copies)
    , onto(onto)
    , rebase(document.ProjectFolder())
    , colours(ChangeColours::For(palette()))
    , message(new QLabel(this))
    , progress(new QProgressBar(this))
    , tables(new QListWidget(this))
    , grid(std::make_unique<CGridCtrl>(0, 0, 0, 0, this))
    , marks(std::make_unique<ChangeMarks>(*grid))
    , legend(new ChangesLegend(this))
    , conflicts(new QTreeWidget(this))
    , rebaseButton(new QPushButton(tr("&Rebase"), this))
    , cancelButton(new QPushButton(tr("Cancel"), this))
{
    setWindowTitle(QStringLiteral("Rebase onto %1").arg(QFileInfo(onto).fileName()));
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    progress->setRange(0, 0);
    grid->SetEditable(false);
    grid->EnableRowHide(false);
    legend->ShowConflicts(true);
    conflicts->setColumnCount(5);
    conflicts->setHeaderLabels({tr("Row"), tr("Column"), tr("Game Value"), tr("New Game Value"), tr("MOD Value")});
    conflicts->setRootIsDecorated(false);
    rebaseButton->setEnabled(false);
    rebaseButton->setDefault(true);

    auto* gridPane = new QWidget(this);
    auto* gridLayout = new QVBoxLayout(gridPane);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(0);
    gridLayout->addWidget(grid.get(), 1);
    gridLayout->addWidget(legend);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(tables);
    splitter->addWidget(gridPane);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 700});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(rebaseButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(progress);
    layout->addWidget(splitter, 3);
    layout->addWidget(conflicts, 1);
    layout->addLayout(buttons);
    resize(960, 640);

    connect(&copies, &GameCopies::Ready, this, &RebaseDialog::OnRead);
    connect(&copies, &GameCopies::Failed, this, &RebaseDialog::OnFailed);
    connect(tables, &QListWidget::currentRowChanged, this, &RebaseDialog::ShowTable);
    connect(conflicts, &QTreeWidget::itemActivated, this, &RebaseDialog::GoToConflict);
    connect(rebaseButton, &QPushButton::clicked, this, &RebaseDialog::OnRebase);
    connect(cancelButton, &QPushButton::clicked, this, &RebaseDialog::reject);
}

RebaseDialog::~RebaseDialog() = default;

void RebaseDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!started) {
        started = true;
        StartReading();
    }
}

// The game archive of the options answers for tables without a kept
// original, unless it is the new data itself: new data read as the
// original would carry nothing over and say nothing.
QString RebaseDialog::BaseArchive() const
{
    const QString canonical = QFileInfo(settings.GameMpqPath).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(onto).canonicalFilePath() ? QString() : settings.GameMpqPath;
}

void RebaseDialog::StartReading()
{
    const KeptOriginals kept(document.ProjectFolder());
    QStringList tableNames;
    QStringList withoutOriginal;
    for (const QString& entry : document.FileList()) {
        if (!EntryDiff::IsTableName(entry))
            continue;
        tableNames.append(entry);
        if (!kept.Has(entry))
            withoutOriginal.append(entry);
    }
    message->setText(tr("Reading the tables of %1...").arg(Shown(onto)));
    waiting.insert(onto);
    const QString base = BaseArchive();
    if (!withoutOriginal.isEmpty() && !base.isEmpty())
        waiting.insert(base);
    // Requests may be answered at once, so every archive waited for is
    // known before the first is asked.
    copies.Request(onto, tableNames);
    if (!withoutOriginal.isEmpty() && !base.isEmpty())
        copies.Request(base, withoutOriginal);
}

void RebaseDialog::OnRead(const QString& archive)
{
    if (!waiting.remove(archive) || !waiting.isEmpty())
        return;
    progress->hide();
    Plan();
}

void RebaseDialog::OnFailed(const QString& archive, const QString& why)
{
    if (!waiting.contains(archive))
        return;
    waiting.clear();
    progress->hide();
    message->setText(tr("Nothing can be carried over: %1 cannot be read: %2").arg(Shown(archive), why));
}

void RebaseDialog::Plan()
{
    const KeptOriginals kept(document.ProjectFolder());
    const QString base = BaseArchive();
    std::vector<ModRebase::Source> sources;
    for (const QString& entry : document.FileList()) {
        ModRebase::Source source{entry, kept.Read(entry), Shown(kept.PathOf(entry)), copies.Copy(onto, entry),
                                 QStringLiteral("%1 in %2").arg(entry, QFileInfo(onto).fileName())};
        if (!source.base && !base.isEmpty()) {
            source.base = copies.Copy(base, entry);
            source.baseName = QStringLiteral("%1 in %2").arg(entry, QFileInfo(base).fileName());
        }
        sources.push_back(std::move(source));
    }
    QString error;
    if (!rebase.Plan(sources, &error)) {
        message->setText(tr("Nothing can be carried over: %1").arg(error));
        return;
    }
    for (const ModRebase::Table& table : rebase.Tables()) {
        const int count = int(table.merge.conflicts.size());
        tables->addItem(ProjectEntry::NamePart(table.entry) + (count > 0 ? QStringLiteral("  (%1)").arg(ModRebase::ConflictsText(count)) : QString()));
    }
    QString text = rebase.Tables().empty()
        ? tr("The MOD holds no table that the new data has.")
        : tr("%1 tables carried over to %2, %3 (red: both changed it, the MOD's value stays).\n"
             "Nothing is written until you press Rebase; the tables as they are now will wait in a backup folder.")
              .arg(rebase.Tables().size())
              .arg(QFileInfo(onto).fileName(), ModRebase::ConflictsText(rebase.ConflictCount()));
    for (const QString& note : rebase.Notes())
        text += QLatin1Char('\n') + note;
    message->setText(text);
    layout()->activate();
    rebaseButton->setEnabled(!rebase.Tables().empty());
    if (!rebase.Tables().empty())
        tables->setCurrentRow(0);
}

void RebaseDialog::ShowTable(int index)
{
    if (index < 0 || index >= int(rebase.Tables().size()))
        return;
    const ModRebase::Table& table = rebase.Tables()[size_t(index)];
    TableGrid::Fill(*grid, TableFile::Parse(table.merge.bytes));
    marks->SetOriginal(table.theirs);
    tint = std::make_unique<RebasePreviewTint>(*marks, table.merge.conflicts, colours);
    grid->SetCellTint(tint.get());
    CCarvestoneView::FitColumnWidths(*grid);
    legend->SetCount(marks->Count(), tr("the new data"));
    conflicts->clear();
    for (const TableMerge::Conflict& conflict : table.merge.conflicts) {
        auto* item = new QTreeWidgetItem(conflicts, {conflict.rowName, conflict.columnName, QString::fromLatin1(conflict.base),
                                                     QString::fromLatin1(conflict.theirs), QString::fromLatin1(conflict.ours)});
        item->setData(0, Qt::UserRole, QPoint(conflict.col, conflict.row));
        item->setToolTip(0, TableMerge::KindName(conflict.kind));
    }
    conflicts->header()->resizeSections(QHeaderView::ResizeToContents);
    // The first conflict in sight, else the first change.
    if (conflicts->topLevelItemCount() > 0) {
        conflicts->setCurrentItem(conflicts->topLevelItem(0));
        GoToConflict();
    } else if (const GridCellId first = marks->NextChange(GridCellId(0, 0), true); grid->IsValid(first)) {
        grid->SetFocusCell(first);
        grid->EnsureVisible(first);
    }
    grid->viewport()->update();
}

void RebaseDialog::GoToConflict()
{
    const QTreeWidgetItem* item = conflicts->currentItem();
    if (!item || grid->GetRowCount() < 2 || grid->GetColumnCount() < 2)
        return;
    const QPoint where = item->data(0, Qt::UserRole).toPoint();
    const int row = qBound(1, where.y(), grid->GetRowCount() - 1);
    const int col = qBound(1, where.x(), grid->GetColumnCount() - 1);
    // The focus frame alone: a selection's colour would hide the red.
    grid->SetSelectedRange(-1, -1, -1, -1);
    grid->SetFocusCell(row, col);
    grid->EnsureVisible(row, col);
    grid->Refresh();
}

void RebaseDialog::OnRebase()
{
    QString error;
    if (!rebase.Apply(&backupFolder, &error)) {
        MessageBoxes::ShowMessage(this, UserDialogs::TypeOk | UserDialogs::IconError, QStringLiteral("%s"),
                                  {tr("Nothing was changed: %1").arg(error)});
        return;
    }
    accept();
}
