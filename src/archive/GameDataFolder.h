#pragma once

#include <QString>
#include <QStringList>

class ListingProgress;

// The game's data as the remaster's extraction tools leave it on disk: a
// folder holding data/ (ExtractedDataRule says which folders are), with
// every file at its archive name (backslashes
// as folders).  It stands wherever an MPQ archive does as a source of
// files: it is listed by walking it (no listing file is needed) and a file
// is copied out as extraction from an archive copies it.  Names are found
// without regard to case, as the game's archives find them, and a name
// never reaches a file outside the folder.
class GameDataFolder
{
public:
    // The archive name of every file under the folder's data folder
    // ("data\global\excel\weapons.txt"), sorted without regard to case.
    // Links, and files whose names cannot be archive names, are left out;
    // skipped (when given) counts them.  progress hears of every file.
    static QStringList List(const QString& folder, ListingProgress* progress, int* skipped = nullptr);

    // The file of an archive name in the folder; empty when the folder has
    // none, or the name or a link would lead outside the folder.
    static QString FilePath(const QString& folder, const QString& archiveName);
    // The archive name as a path relative to the folder, each part spelled
    // as the folder spells it where it has that part, as the name spells
    // it beyond; empty when the name cannot be a path in a folder.
    static QString Spelled(const QString& folder, const QString& archiveName);

    // Copies one file out of the folder, into a folder (under its name part)
    // or to a file path, as MpqLibrary::ExtractFile does: an existing target
    // is replaced only once the whole file is written; on failure error
    // (when given) names the file and the cause.
    static bool ExtractFile(const QString& folder, const QString& archiveName, const QString& destination,
                            bool destinationIsFolder, QString* error = nullptr);
};
