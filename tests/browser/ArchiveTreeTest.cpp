#include "browser/ArchiveTree.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// The tree as text: one line per item, indented by depth, files marked "*".
QStringList Outline(const QTreeWidgetItem* item, int depth = 0)
{
    QStringList lines;
    for (int row = 0; row < item->childCount(); ++row) {
        const QTreeWidgetItem* child = item->child(row);
        lines.append(QString(depth * 2, QLatin1Char(' ')) + child->text(0) + (ArchiveTree::IsFileItem(child) ? "*" : ""));
        lines.append(Outline(child, depth + 1));
    }
    return lines;
}

TEST(ArchiveTree, FoldersComeAheadOfFilesEachInTheOrderFirstMetWithCaseMattering)
{
    QTreeWidget widget;
    auto* root = new QTreeWidgetItem(&widget, QStringList{"root"});
    ArchiveTree tree(root);
    // A file before the folder of its own text; a name twice shows twice (unique entries are the project's job).
    for (const char* name : {"z.txt", "abc", "x\\a.txt", "Data\\b.txt", "abc\\d.txt", "x\\y\\f.txt", "x\\c.txt",
                             "data\\e.txt", "z.txt"})
        tree.InsertArchivePath(QString::fromLatin1(name));
    EXPECT_EQ(Outline(root), QStringList({"x", "  y", "    f.txt*", "  a.txt*", "  c.txt*", "Data", "  b.txt*", "abc",
                                          "  d.txt*", "data", "  e.txt*", "z.txt*", "abc*", "z.txt*"}));
}

} // namespace
