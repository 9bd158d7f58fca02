#pragma once

#include <QString>

// The game's item property codes with the descriptions the command bar's
// list shows, in a fixed order: a row's number is what the list stores with
// each entry, so the list can be sorted while its entries still lead back
// here.  Codes are unique, and so are descriptions without regard to case.
class MagicCodeTable
{
public:
    static constexpr int Count = 118;

    static QString Description(int row);
    static QString Code(int row);
    // The first row whose code equals code exactly (case matters), or -1.
    static int FindCode(const QString& code);
};
