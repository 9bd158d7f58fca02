#pragma once

#include <QString>

// Which folders hold the game's data as the remaster's extraction tools
// leave it: a folder holding "data" (in any case) that holds "global",
// "local" or "hd".  The remaster's own storage (its Data folder, holding
// data, indices and config) is not such a folder, nor is a folder that only
// happens to be called data.
class ExtractedDataRule
{
public:
    static bool IsExtractedData(const QString& path);
    // Why the folder cannot be read as the game's data, in words for the
    // user; empty when it can.
    static QString Problem(const QString& path);
    // The folder's "data" folder in its own spelling; empty when none.
    static QString DataFolderOf(const QString& path);
    // The entry of folder named name, the exact spelling first, else one
    // that differs only in case, as the game's files are found; empty when
    // there is none.
    static QString EntryIgnoringCase(const QString& folder, const QString& name);
};
