#pragma once

#include <QByteArray>
#include <QString>

// Where a remaster mod lies and what it holds; the one set of rules that
// Build, Install, the command line and the windows share.  A mod named
// Name is the folder Name holding the folder Name.mpq (a plain folder, not
// an archive), which holds modinfo.json and every MOD file at its archive
// name.  Build makes it in the project folder; Install copies it under the
// game's mods folder, where the game loads it when started with
// -mod Name -txt.
class RemasterModLayout
{
public:
    // The mod's name: the project's title up to its last "."; empty when
    // the title has none.
    static QString ModName(const QString& projectTitle);
    // The folder Build makes: projectFolder + the mod's name.  Empty when
    // the title has no ".".
    static QString BuiltFolder(const QString& projectFolder, const QString& projectTitle);
    static QString BuiltFolderForProject(const QString& projectPath);

    // Name.mpq, the folder that holds the files; modFolder/Name.mpq.
    static QString FilesFolderName(const QString& name) { return name + QStringLiteral(".mpq"); }
    static QString FilesFolder(const QString& modFolder);
    static QString ModInfoPath(const QString& modFolder);
    // {"name": Name, "savepath": "Name/"}: the game shows the mod by that
    // name and keeps its characters apart from the unmodded game's.
    static QByteArray ModInfo(const QString& name);
    // Whether modFolder is a mod Carvestone built or installed: its
    // modinfo.json reads as JSON naming the folder's own name.
    static bool IsModFolder(const QString& modFolder);

    // The launcher arguments that start the game with the mod: "-mod Name -txt".
    static QString LauncherArguments(const QString& name);
    // The names of the folders a build makes its mod in (in the project
    // folder) and an install its copy (in the game's mods folder): this
    // prefix and six more characters.  A run stopped part-way leaves one.
    static QString BuildingPrefix(const QString& name);
    static QString InstallingPrefix(const QString& name);
};
