#pragma once

#include <QString>

// Which texts can be archive names that the program records as MOD entries:
// each becomes a name inside the game's archive and, by its name part, a
// file in the flat project folder.
class ArchiveNameRule
{
public:
    // Why the name cannot be an entry, in words for the user; empty when it can.
    static QString Problem(const QString& name);
    // The game's archives do not tell case apart, so two entries whose name
    // parts differ only in case would share one file in the MOD folder.
    static bool SameNamePart(const QString& first, const QString& second);
};
