#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the Add File to MOD dialog needs to know of the open project and the
// program, handed over by the project tree.
struct AddFileContext
{
    QString modFolder;       // the project folder, ending with '/'
    QString archivePath;     // the archive shown first (the game archive setting)
    QString programFolder;   // where carvestone-cli lies
    QString listingPath;     // AllFiles.txt, the game's file names
    QStringList projectEntries;
    QString projectFilePath;
    QString modArchivePath;
    // Whether a table of this file name (an entry's name part) is open in a tab.
    std::function<bool(const QString& name)> isTableOpen;
};
