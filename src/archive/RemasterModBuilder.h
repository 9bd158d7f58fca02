#pragma once

#include "ModBuilder.h"

#include <QHash>
#include <QSet>
#include <QString>

class BuildLog;

// Builds a remaster project: the mod folder Name in the project folder,
// holding Name.mpq/modinfo.json and every MOD file at its archive name,
// backslashes as folders and each part spelled as the game's extracted data
// spells it.  The log has the classic build's line for each file.  The mod
// is made in a new folder beside its place and put in place only when every
// file is in it (SafeFolderReplace), so a build that fails part-way leaves
// the previous mod folder as it was.
class RemasterModBuilder
{
public:
    static BuildOutcome Build(const ModBuilder::Request& request, BuildLog& log);

private:
    RemasterModBuilder(const ModBuilder::Request& request, const QString& filesFolder, const QString& shownFolder);

    // Empty when the entry's file was copied, else the words of the cause.
    QString CopyEntry(const QString& entry);
    // The path the entry takes under Name.mpq: spelled as the game's data
    // spells it, and each folder as the first entry in it spelled it, so
    // two entries never make two folders that differ only in case.
    QString PathInMod(const QString& entry);

    const ModBuilder::Request& request;
    QString filesFolder;
    QString shownFolder;
    QHash<QString, QString> folderSpellings; // lower case -> as first written
    QSet<QString> written;                   // lower case paths of the files
};
