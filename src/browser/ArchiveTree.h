#pragma once

#include "ArchiveTreeItemData.h"

#include <QString>

#include <optional>

class QTreeWidgetItem;

// Turns a sequence of archive names (folders separated by backslashes) into
// folder and file items under one root.  Folders go ahead of files, in the
// order they were first met; files keep their order of insertion; nothing is
// sorted, so the tree shows the project's own order.  Shared by the project
// tree and the Add File dialog's archive tree.
class ArchiveTree
{
public:
    // Where a folder of some text lies among an item's children: the match,
    // or the row at which a new folder keeps folders ahead of files.
    struct FolderPlace
    {
        QTreeWidgetItem* match = nullptr;
        int insertRow = 0;
    };

    explicit ArchiveTree(QTreeWidgetItem* root);

    // Inserts the file item of the name under its folders (made as needed)
    // and returns the folder item that received it.  Consecutive names of
    // one folder reuse that folder without a new search.
    QTreeWidgetItem* InsertArchivePath(const QString& archiveName);
    // The file item the last InsertArchivePath made.
    QTreeWidgetItem* LastFileItem() const { return lastFile; }

    static FolderPlace FindFolderChild(const QTreeWidgetItem* item, const QString& text);
    // The path of the item relative to the root, each text followed by a
    // backslash; the root gives the empty text.
    static QString BuildItemFolderPath(const QTreeWidgetItem* item);
    static void ExpandAllItems(QTreeWidgetItem* item);

    static std::optional<ArchiveTreeItemData> ItemData(const QTreeWidgetItem* item);
    static bool IsFileItem(const QTreeWidgetItem* item) { return ItemData(item).has_value(); }

private:
    QTreeWidgetItem* ResolveFolder(const QString& folderPart);

    QTreeWidgetItem* root;
    QTreeWidgetItem* folderHint;
    QString rememberedFolder;
    QTreeWidgetItem* lastFile = nullptr;
};
