#include "ChangesDock.h"

#include "ModChanges.h"
#include "model/ProjectEntry.h"
#include "ui/TableViewPart.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { File, Kind, Row, ColumnName, GameValue, ModValue, ColumnCount };
// Where the change lies in its table, for the double click.
constexpr int CellRole = Qt::UserRole;
const QString AllFiles = QStringLiteral("All files");

} // namespace

ChangesDock::ChangesDock(ModChanges& changes, QWidget* parent)
    : QDockWidget(tr("Changes"), parent)
    , changes(changes)
    , filter(new QComboBox)
    , list(new QTreeWidget)
    , summary(new QLabel)
{
    setObjectName(QStringLiteral("ChangesDock"));
    list->setColumnCount(ColumnCount);
    list->setHeaderLabels({tr("File"), tr("Kind"), tr("Row"), tr("Column"), tr("Game Value"), tr("MOD Value")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->header()->setSectionResizeMode(QHeaderView::Interactive);
    list->header()->setStretchLastSection(true);
    summary->setWordWrap(true);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(filter);
    layout->addWidget(list, 1);
    layout->addWidget(summary);
    setWidget(body);

    connect(&changes, &ModChanges::Updated, this, &ChangesDock::Fill);
    // A hidden list is filled when it shows: a large MOD's list takes a moment.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            Fill();
    });
    connect(filter, &QComboBox::currentIndexChanged, this, &ChangesDock::Fill);
    connect(list, &QTreeWidget::itemActivated, this, &ChangesDock::OnActivated);
    Fill();
}

void ChangesDock::FillFilter()
{
    QStringList files{AllFiles};
    for (const EntryDiff& file : changes.Files()) {
        if (file.ChangeCount() > 0 || file.GetKind() == EntryDiff::Kind::Failed)
            files.append(file.Entry());
    }
    QStringList shown;
    for (int index = 0; index < filter->count(); ++index)
        shown.append(filter->itemText(index));
    if (shown == files)
        return;
    const QString chosen = filter->currentText();
    const QSignalBlocker blocker(filter);
    filter->clear();
    filter->addItems(files);
    filter->setCurrentIndex(qMax(0, int(files.indexOf(chosen))));
}

void ChangesDock::Fill()
{
    if (!isVisible())
        return;
    FillFilter();
    const QString chosen = filter->currentIndex() > 0 ? filter->currentText() : QString();
    list->setUpdatesEnabled(false);
    list->clear();
    QList<QTreeWidgetItem*> items;
    int total = 0;
    int files = 0;
    for (const EntryDiff& file : changes.Files()) {
        total += file.ChangeCount();
        files += file.ChangeCount() > 0 ? 1 : 0;
        if (!chosen.isEmpty() && file.Entry() != chosen)
            continue;
        if (file.GetKind() == EntryDiff::Kind::Failed) {
            auto* item = new QTreeWidgetItem(QStringList{tr("%1: %2").arg(file.Entry(), file.Error())});
            item->setFirstColumnSpanned(true);
            items.append(item);
            continue;
        }
        for (const EntryDiff::Change& change : file.Changes()) {
            auto* item = new QTreeWidgetItem(
                QStringList{file.Entry(), change.kind, change.rowName, change.columnName, change.gameValue, change.modValue});
            item->setData(File, CellRole, QPoint(change.col, change.row));
            items.append(item);
        }
    }
    list->addTopLevelItems(items);
    for (int col = 0; col < ModValue; ++col)
        list->resizeColumnToContents(col);
    list->setUpdatesEnabled(true);
    QString text = (total == 1 ? tr("1 change") : tr("%1 changes").arg(total))
        + (files == 1 ? tr(" in 1 file") : tr(" in %1 files").arg(files));
    if (changes.IsReadingGame())
        text += tr("; reading the game's files...");
    if (!changes.GameProblem().isEmpty())
        text += tr("\nThe game archive could not be read, so files without a kept original are not compared: %1")
                    .arg(changes.GameProblem());
    summary->setText(text);
}

void ChangesDock::OnActivated(QTreeWidgetItem* item)
{
    const QVariant cell = item->data(File, CellRole);
    const QString entry = item->text(File);
    if (!tableView || !cell.isValid() || !EntryDiff::IsTableName(entry))
        return;
    const QPoint where = cell.toPoint();
    tableView->GoToCell(ProjectEntry::NamePart(entry), where.y(), where.x());
}
