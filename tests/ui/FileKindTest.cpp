#include "model/FileKind.h"
#include "ui/FileKindIcons.h"

#include <gtest/gtest.h>

namespace {

// The name part decides, never a folder; the case of a name never does.
TEST(FileKind, PicksThePictureByTheNamePartsExtensionOrTableNameInAnyCase)
{
    const struct { const char* name; int kind; } cases[] = {
        {"Data\\Units.TXT", FileKind::Table}, {"x\\UNIQUEITEMS.TXT", FileKind::UniqueItems},
        {"data\\SetItems.Txt", FileKind::SetItems}, {"myuniqueitems.txt", FileKind::Table},
        {"uniqueitems.txt\\other.txt", FileKind::Table}, {"setitems.txt.bak", FileKind::Other},
        {"patchstring", FileKind::Other}, {"a.b\\c", FileKind::Other}, {"font.dc6x", FileKind::Other},
        {"ui\\cursor.DC6", FileKind::Picture}, {"monster.dcc", FileKind::Picture}, {"sfx\\hit.WAV", FileKind::Sound},
        {"eng\\string.Tbl", FileKind::StringTable},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileKind::IconIndex(QString::fromLatin1(c.name)), c.kind) << c.name;
}

TEST(FileKindIcons, EveryKindHasASeeThroughPictureAndASelectedFolderShowsOpen)
{
    for (int kind = 0; kind < FileKind::Count; ++kind) {
        const QImage picture = FileKindIcons::Icon(kind).pixmap(32, 32).toImage();
        ASSERT_EQ(picture.size(), QSize(32, 32)) << "kind " << kind << ": no picture, or no SVG support";
        EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0) << "kind " << kind;
    }
    const QIcon folder = FileKindIcons::FolderIcon();
    for (auto [mode, kind] : {std::pair{QIcon::Selected, FileKind::OpenFolder}, {QIcon::Normal, FileKind::Folder}})
        EXPECT_EQ(folder.pixmap(16, 16, mode).toImage(), FileKindIcons::Icon(kind).pixmap(16, 16).toImage()) << kind;
}

} // namespace
