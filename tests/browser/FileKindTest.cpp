#include "browser/FileKind.h"
#include "browser/FileKindIcons.h"

#include <QPixmap>

#include <gtest/gtest.h>

namespace {

TEST(FileKind, PicksThePictureByExtensionAndTableNameWithoutRegardToCase)
{
    const struct { const char* name; int kind; } cases[] = {
        {"data\\global\\excel\\armor.txt", FileKind::Table},
        {"Data\\Units.TXT", FileKind::Table},
        {"x\\UniqueItems.txt", FileKind::UniqueItems},
        {"UNIQUEITEMS.TXT", FileKind::UniqueItems},
        {"data\\SetItems.Txt", FileKind::SetItems},
        {"myuniqueitems.txt", FileKind::Table},
        {"uniqueitems.txt\\other.txt", FileKind::Table}, // the name part decides, not a folder
        {"setitems.txt.bak", FileKind::Other},
        {"a.b\\c", FileKind::Other}, // the only full stop lies in a folder
        {"patchstring", FileKind::Other},
        {"trailing.", FileKind::Other},
        {"data\\global\\ui\\cursor.DC6", FileKind::Picture},
        {"monster.dcc", FileKind::Picture},
        {"local\\lng\\eng\\string.Tbl", FileKind::StringTable},
        {"sfx\\hit.WAV", FileKind::Sound},
        {"font.dc6x", FileKind::Other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileKind::IconIndex(QString::fromLatin1(c.name)), c.kind) << c.name;
}

TEST(FileKindIcons, EveryKindHasAPictureThatDrawsSharplyAtTwiceTheSize)
{
    for (int kind = 0; kind < FileKind::Count; ++kind) {
        const QIcon icon = FileKindIcons::Icon(kind);
        const QImage small = icon.pixmap(16, 16).toImage();
        const QImage large = icon.pixmap(32, 32).toImage();
        ASSERT_EQ(small.size(), QSize(16, 16)) << "kind " << kind << ": no SVG support, or no picture";
        EXPECT_EQ(large.size(), QSize(32, 32)) << "kind " << kind;
        EXPECT_TRUE(small.hasAlphaChannel()) << "kind " << kind;
        EXPECT_EQ(small.pixelColor(0, 0).alpha(), 0) << "kind " << kind << ": the corner is see-through";
    }
    EXPECT_TRUE(FileKindIcons::Icon(FileKind::Count).isNull());
    EXPECT_TRUE(FileKindIcons::Icon(-1).isNull());
    // A selected folder shows the open folder.
    const QImage open = FileKindIcons::FolderIcon().pixmap(16, 16, QIcon::Selected).toImage();
    EXPECT_EQ(open, FileKindIcons::Icon(FileKind::OpenFolder).pixmap(16, 16).toImage());
    EXPECT_NE(open, FileKindIcons::FolderIcon().pixmap(16, 16).toImage());
}

} // namespace
