#pragma once

#include <QString>

// Puts a built MOD archive into the game's folder as its patch archive.  The
// game's own patch archive is kept once, as the backup, by the first install.
// The game folder is never left without a whole patch archive: both the
// backup and the new patch archive are written under temporary names and
// renamed into place only when complete.
class ModInstaller
{
public:
    static inline const QString PatchName = QStringLiteral("patch_d2.mpq");
    static inline const QString BackupName = QStringLiteral("patch_d2.bak");

    // Install is offered when the game folder is known, the project has a
    // path without "untitled" in it, and its MOD archive (the file Build
    // writes, ModBuilder::ArchivePathForProject) exists.
    static bool CanInstall(const QString& gameFolder, const QString& projectPath);
    // What keeps Install from being offered, in a modder's words ("the MOD
    // has not been built yet"); empty when it can be.
    static QString WhyNotInstallable(const QString& gameFolder, const QString& projectPath);
    // After an install: what went where, and where the game's own archive is kept.
    static QString DescribeInstall(const QString& modArchivePath, const QString& gameFolder);
    // The path of a file of the folder, found without regard to case and in
    // its existing spelling; the name as given when the folder has none.
    static QString FindInFolder(const QString& folder, const QString& fileName);

    // Answers false with the reason in error when the install failed; the
    // game folder then holds what it held before, except perhaps a new backup.
    static bool Install(const QString& modArchivePath, const QString& gameFolder, QString& error);
};
