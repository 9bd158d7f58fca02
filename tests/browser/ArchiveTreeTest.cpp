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
        lines.append(QString(depth * 2, QLatin1Char(' ')) + child->text(0)
                     + (ArchiveTree::IsFileItem(child) ? QStringLiteral("*") : QString()));
        lines.append(Outline(child, depth + 1));
    }
    return lines;
}

QStringList Built(const QStringList& names)
{
    QTreeWidget widget;
    auto* root = new QTreeWidgetItem(&widget, QStringList{"root"});
    ArchiveTree tree(root);
    for (const QString& name : names)
        tree.InsertArchivePath(name);
    return Outline(root);
}

TEST(ArchiveTree, FoldersComeAheadOfFilesInTheOrderFirstMetAndNothingIsSorted)
{
    const struct { QStringList names; QStringList outline; } cases[] = {
        {{"x\\a.txt", "y\\b.txt", "x\\c.txt"}, {"x", "  a.txt*", "  c.txt*", "y", "  b.txt*"}},
        // A file of the same text as a later folder: the folder goes first.
        {{"abc", "abc\\d.txt"}, {"abc", "  d.txt*", "abc*"}},
        {{"z.txt", "m\\b.txt", "a.txt"}, {"m", "  b.txt*", "z.txt*", "a.txt*"}},
        // Case matters in folder texts.
        {{"Data\\a.txt", "data\\b.txt"}, {"Data", "  a.txt*", "data", "  b.txt*"}},
        {{"data\\global\\excel\\armor.txt", "data\\global\\ui\\x.dc6", "data\\global\\excel\\weapons.txt"},
         {"data", "  global", "    excel", "      armor.txt*", "      weapons.txt*", "    ui", "      x.dc6*"}},
        // A name given twice shows twice: keeping entries unique is the project's job.
        {{"a.txt", "a.txt"}, {"a.txt*", "a.txt*"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Built(c.names), c.outline) << c.names.join(' ').toStdString();
}

} // namespace
