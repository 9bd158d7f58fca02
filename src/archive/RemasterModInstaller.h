#pragma once

#include "core/SafeFolderReplace.h"

#include <QString>

// Puts a built remaster mod into the game: a copy of the project's mod
// folder becomes <game folder>/mods/<Name>.  The copy is made complete in
// a new folder beside its place; a mod folder of that name already there
// is kept as a backup until the new one is in place (SafeFolderReplace), so
// a failed install leaves the game as it was.
class RemasterModInstaller
{
public:
    // Install is offered when the remaster's folder is known and the
    // project has a path without "untitled" in it whose mod folder has been
    // built (RemasterModLayout::BuiltFolderForProject).
    static bool CanInstall(const QString& remasterFolder, const QString& projectPath);
    // Why Install is not offered, in words for a greyed command's tip;
    // empty when it is.
    static QString WhyNotInstallable(const QString& remasterFolder, const QString& projectPath);
    // The folder the mod goes to: the game's mods folder (in its existing
    // spelling) + the mod's name (likewise).
    static QString InstalledFolder(const QString& remasterFolder, const QString& name);

    // Answers false with the reason in error when the install failed;
    // onFile hears of each file copied (SafeFolderReplace::CopyTree).
    static bool Install(const QString& builtFolder, const QString& remasterFolder, QString& error,
                        const SafeFolderReplace::Progress& onFile = {});
};
