#include "ArchiveTree.h"

#include "model/FileKind.h"
#include "ui/FileKindIcons.h"

#include <QTreeWidgetItem>

namespace {

// Qt keeps the name with the item and frees it with the item.
constexpr int ArchiveNameRole = Qt::UserRole + 1;

QTreeWidgetItem* NewFolderItem(const QString& text)
{
    auto* folder = new QTreeWidgetItem(QStringList{text});
    folder->setIcon(0, FileKindIcons::FolderIcon());
    return folder;
}

} // namespace

ArchiveTree::ArchiveTree(QTreeWidgetItem* treeRoot)
    : root(treeRoot)
    , folderHint(treeRoot)
{
}

QTreeWidgetItem* ArchiveTree::InsertArchivePath(const QString& archiveName)
{
    const ArchiveTreeItemData data = ArchiveTreeItemData::FromArchiveName(archiveName);
    const QString folderPart = archiveName.left(qMax<qsizetype>(data.namePartStart - 1, 0));
    if (folderPart != rememberedFolder || !folderHint) {
        rememberedFolder = folderPart;
        folderHint = ResolveFolder(folderPart);
    }
    lastFile = new QTreeWidgetItem(folderHint, QStringList{data.NamePart()});
    lastFile->setIcon(0, FileKindIcons::Icon(FileKind::IconIndex(archiveName)));
    lastFile->setData(0, ArchiveNameRole, archiveName);
    return folderHint;
}

QTreeWidgetItem* ArchiveTree::ResolveFolder(const QString& folderPart)
{
    QTreeWidgetItem* current = root;
    if (folderPart.isEmpty())
        return current;
    // Empty components (a doubled backslash) are folders too: the name is
    // shown as the archive holds it.
    for (const QString& component : folderPart.split(QLatin1Char('\\'))) {
        const FolderPlace place = FindFolderChild(current, component);
        if (place.match) {
            current = place.match;
            continue;
        }
        QTreeWidgetItem* folder = NewFolderItem(component);
        current->insertChild(place.insertRow, folder);
        current = folder;
    }
    return current;
}

ArchiveTree::FolderPlace ArchiveTree::FindFolderChild(const QTreeWidgetItem* item, const QString& text)
{
    for (int row = 0; row < item->childCount(); ++row) {
        const QTreeWidgetItem* child = item->child(row);
        if (IsFileItem(child))
            return {nullptr, row};
        if (child->text(0) == text)
            return {item->child(row), row};
    }
    return {nullptr, item->childCount()};
}

QString ArchiveTree::BuildItemFolderPath(const QTreeWidgetItem* item)
{
    QString path;
    for (; item && item->parent(); item = item->parent())
        path.prepend(item->text(0) + QLatin1Char('\\'));
    return path;
}

void ArchiveTree::ExpandAllItems(QTreeWidgetItem* item)
{
    item->setExpanded(true);
    for (int row = 0; row < item->childCount(); ++row)
        ExpandAllItems(item->child(row));
}

std::optional<ArchiveTreeItemData> ArchiveTree::ItemData(const QTreeWidgetItem* item)
{
    const QVariant name = item ? item->data(0, ArchiveNameRole) : QVariant();
    if (!name.isValid())
        return std::nullopt;
    return ArchiveTreeItemData::FromArchiveName(name.toString());
}
