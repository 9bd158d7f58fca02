#pragma once

#include <QString>

// A MOD entry is an archive name such as data\global\excel\armor.txt.  Its
// file lies directly in the project folder under the entry's name part.
// Every piece of the program that turns an entry into a disk path goes
// through DiskPath, so that a name from a project file or an archive never
// reaches a path outside the project folder.
class ProjectEntry
{
public:
    // The text after the last backslash (the whole entry when there is none).
    static QString NamePart(const QString& entry);
    // True when the name can be a file in one folder here: not empty, not
    // "." or "..", and no '/' (nor, on Windows, other separators).
    static bool IsPlainFileName(const QString& name);
    // projectFolder (ending with '/') + the name part, or an empty text when
    // the name part is not a plain file name or the folder is empty.
    static QString DiskPath(const QString& projectFolder, const QString& entry);
    // Why the entry has no file to build from in the project folder, in words
    // for a build's log ("armor.txt is not in the MOD folder"); empty, with
    // diskPath set, when the file is there.
    static QString DiskFileProblem(const QString& projectFolder, const QString& entry, QString& diskPath);
    // The entry as a path relative to a folder, each backslash a folder
    // ("data/global/excel/armor.txt"), for the places where the game wants
    // a file at its whole archive name (a remaster mod folder, extracted
    // game data).  Empty unless every part is a plain file name, so the
    // path never leaves the folder it is joined to.
    static QString RelativeDiskPath(const QString& entry);
};
