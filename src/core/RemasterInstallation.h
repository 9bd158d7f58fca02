#pragma once

#include <QString>
#include <QStringList>

// Finds where Diablo II: Resurrected is installed, as GameInstallation finds
// the classic game: first the location its installer records (the Battle.net
// installer's uninstall entry, in the machine's registry; under Wine or
// Proton that is the prefix's system.reg), else the usual install folder.
// The record is only read, never written.
class RemasterInstallation
{
public:
    // The game's folder ending with '/', or empty when it is not found.
    static QString FindFolder();
    // Linux: the prefixes to look in: $WINEPREFIX alone when it is set,
    // else ~/.wine, Lutris's Battle.net prefix and every Steam (Proton)
    // prefix under the home folder.
    static QStringList WinePrefixes();
    // The game's folder in one prefix: the recorded location when that
    // folder exists, else the usual folder when it exists; empty otherwise.
    static QString FolderInWinePrefix(const QString& prefix);

private:
    static QString RecordedWindowsPath(const QByteArray& systemReg);
};
