#pragma once

#include <QString>

// The program's user-visible texts, addressed by the fixed numeric ids that
// message boxes, menus and the status bar use.  A command's string holds its
// status-bar prompt and its tooltip separated by a line feed.
namespace StringId {
inline constexpr int DocumentString = 128;
inline constexpr int StyleRegular = 131;
inline constexpr int StyleBold = 132;
inline constexpr int StyleItalic = 133;
inline constexpr int StyleBoldItalic = 134;
inline constexpr int RowColumnPane = 32775;
inline constexpr int AppTitle = 57344;
inline constexpr int Ready = 57345;
} // namespace StringId

class StringTable
{
public:
    // The text of an id, or an empty text when the table has no such id.
    static QString Get(int id);
    static bool Contains(int id);
};
