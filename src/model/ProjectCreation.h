#pragma once

#include <QString>

// Puts a new MOD project on disk: the folder ModsPath + name and in it the
// project file name + ".mod" holding only the header.  Shared by the New
// command and carvestone-cli.
class ProjectCreation
{
public:
    enum class Outcome { Created, NameMissing, InvalidName, ProjectExists, FolderFailed, FileFailed };

    struct Result
    {
        Outcome outcome = Outcome::Created;
        QString projectFolder; // ModsPath + name, as the messages show it
        QString projectFile;
        QString fileError;     // names the file and the cause for FileFailed
    };

    // Characters a project name may not hold, in the order the message lists them.
    static const QString InvalidNameCharacters;
    static bool IsValidName(const QString& name);
    // An empty or blank name names no folder: the MODs folder itself would
    // be taken for the project's.
    static bool IsMissingName(const QString& name);

    static QString ProjectFolderFor(const QString& modsPath, const QString& name);
    static QString ProjectFileFor(const QString& modsPath, const QString& name);

    // modsPath ends with '/'.
    static Result Create(const QString& modsPath, const QString& name);
};
