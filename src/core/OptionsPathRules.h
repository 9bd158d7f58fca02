#pragma once

#include <QString>

// What the paths page shows and what it refuses at OK.  A refused path
// keeps the options sheet open: a MODs folder that cannot hold projects or
// a game archive that is not there would only fail later, far from the
// field where it could be put right.
class OptionsPathRules
{
public:
    // The MODs field shows the folder without its closing separators; a
    // root folder keeps its one.
    static QString ShownModsPath(const QString& stored);

    // Empty when the game archive path names an existing file, else the
    // message that says why it cannot be used.
    static QString MpqPathProblem(const QString& typed);
    // Empty when the MODs path is a full path and the folder exists (it is
    // created, with missing parents, when it does not) and takes new files;
    // else the message that names the folder and the cause.
    static QString PrepareModsFolder(const QString& typed);
    // The MODs folder proposed at the first run: beside the program, or in
    // the user's documents when the program was installed where it cannot
    // write (under /usr, or a read-only mount).  Ends with '/'.
    static QString FirstRunModsPath(const QString& programFolder);
    // Where the safe-keeping copy of the game archive goes: the program's
    // folder, or beside the settings file when that folder cannot be
    // written.  Ends with '/'.
    static QString SafeKeepingFolder(const QString& programFolder, const QString& settingsFile);

    // A real write, not the permission bits: they say yes to root and no
    // to nothing on a read-only mount.
    static bool IsWritableFolder(const QString& folder, QString* problem = nullptr);

private:
    // The string's %1 is the path as the person typed it, %2 the cause.
    static QString MessageText(int stringId, const QString& path, const QString& cause = {});
};
