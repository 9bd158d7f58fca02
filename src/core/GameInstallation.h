#pragma once

#include <QByteArray>
#include <QString>

// Finds the game's folder from its installation record: the value
// "InstallPath" of "Software\Blizzard Entertainment\Diablo II" in the current
// user's registry, which on Linux is the Wine prefix's user.reg.  The record
// is only read, never written.
class GameInstallation
{
public:
    // The game's folder ending with '/', or empty when there is no record.
    static QString FindFolder();
    // Linux: the record in the prefix ($WINEPREFIX, else ~/.wine), turned
    // into a path through the prefix's drive mapping.
    static QString FolderInWinePrefix(const QString& prefix);
    // The string value of a key in a user.reg text; empty when absent.
    static QString ReadUserRegValue(const QByteArray& userReg, const QString& key, const QString& valueName);
    // A Windows path such as C:\Games\Diablo II as a path in the prefix.
    static QString WindowsPathInPrefix(const QString& prefix, const QString& windowsPath);
};
