#include "RenameListDialog.h"

#include "model/ArchiveNameRule.h"
#include "model/FileKind.h"
#include "ui/FileKindIcons.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int SourceRole = Qt::UserRole;
constexpr int AcceptedNameRole = Qt::UserRole + 1;
// The dialog's size in dialog units, as the resource gives it.
constexpr int WidthUnits = 275;
constexpr int HeightUnits = 119;

void Refuse(QWidget* owner, const QString& why)
{
    MessageBoxes::ShowMessage(owner, UserDialogs::TypeOk | UserDialogs::IconWarning, QStringLiteral("%s"), {why});
}

} // namespace

RenameListDialog::RenameListDialog(const QList<Item>& items, QWidget* parent)
    : QDialog(parent)
    , list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Press F2 to rename any files as required"));
    list->setViewMode(QListView::ListMode);
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(true);
    list->setWordWrap(false);
    list->setResizeMode(QListView::Adjust);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    for (const Item& entry : items) {
        auto* item = new QListWidgetItem(FileKindIcons::Icon(FileKind::IconIndex(entry.name)), entry.name);
        item->setData(SourceRole, entry.source);
        item->setData(AcceptedNameRole, entry.name);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        list->addItem(item);
    }
    list->sortItems();
    if (list->count() > 0)
        list->setCurrentRow(0);
    connect(list, &QListWidget::itemChanged, this, &RenameListDialog::OnItemChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &RenameListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RenameListDialog::reject);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    const QFontMetrics metrics = fontMetrics();
    resize(WidthUnits * metrics.averageCharWidth() / 4, HeightUnits * metrics.height() / 8);
}

void RenameListDialog::OnItemChanged(QListWidgetItem* item)
{
    const QString accepted = item->data(AcceptedNameRole).toString();
    if (item->text() == accepted)
        return;
    const QString problem = ArchiveNameRule::Problem(item->text());
    const QSignalBlocker quiet(list);
    if (!problem.isEmpty()) {
        item->setText(accepted);
        Refuse(this, problem);
        return;
    }
    item->setData(AcceptedNameRole, item->text());
    item->setIcon(FileKindIcons::Icon(FileKind::IconIndex(item->text())));
    list->sortItems();
    list->setCurrentItem(item);
}

QString RenameListDialog::Trouble() const
{
    for (int i = 0; i < list->count(); ++i) {
        const QString problem = ArchiveNameRule::Problem(list->item(i)->text());
        if (!problem.isEmpty())
            return problem;
        for (int j = i + 1; j < list->count(); ++j) {
            const QString first = list->item(i)->text(), second = list->item(j)->text();
            if (first == second)
                return QStringLiteral("The name %1 is given to two files.").arg(first);
            if (ArchiveNameRule::SameNamePart(first, second))
                return QStringLiteral("%1 and %2 would be kept as one file in the MOD folder; give one of them "
                                      "another file name.")
                    .arg(first, second);
        }
    }
    return {};
}

void RenameListDialog::accept()
{
    const QString trouble = Trouble();
    if (!trouble.isEmpty()) {
        Refuse(this, trouble);
        return;
    }
    QDialog::accept();
}

QList<RenameListDialog::Item> RenameListDialog::Items() const
{
    QList<Item> items;
    for (int i = 0; i < list->count(); ++i)
        items.append({list->item(i)->text(), list->item(i)->data(SourceRole).toString()});
    return items;
}
