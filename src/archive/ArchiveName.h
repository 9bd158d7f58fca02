#pragma once

#include <QString>

// Archive names use backslashes, as the game does.  Only the name part (the
// text after the last backslash) ever becomes a disk file name, and only when
// it is a plain file name here, so no name from an archive, a listing file or
// a project can point outside the folder it is placed in.
class ArchiveName
{
public:
    static QString NamePart(const QString& archiveName);
    // False for an empty name, "." and "..", and names holding a path
    // separator or a NUL.
    static bool IsPlainFileName(const QString& name);
    // The disk path of an archive name inside a folder, or an empty text when
    // its name part is not a plain file name.
    static QString PathInFolder(const QString& folder, const QString& archiveName);
};
