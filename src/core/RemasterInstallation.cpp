#include "RemasterInstallation.h"

#include "GameInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

// Keys under HKEY_LOCAL_MACHINE\Software where the installer leaves the
// game's folder, 32-bit view first (the Battle.net installer is a 32-bit
// program on a 64-bit system).
const QStringList RecordKeys = {
    QStringLiteral("Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Diablo II Resurrected"),
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Diablo II Resurrected"),
};
const QString RecordValue = QStringLiteral("InstallLocation");
const QStringList UsualWindowsFolders = {
    QStringLiteral("C:\\Program Files (x86)\\Diablo II Resurrected"),
    QStringLiteral("C:\\Program Files\\Diablo II Resurrected"),
};

QString WithSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString ExistingFolder(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? WithSlash(folder) : QString();
}

} // namespace

QString RemasterInstallation::FindFolder()
{
#ifdef Q_OS_WIN
    for (const QString& key : RecordKeys) {
        const QSettings record(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
        const QString found = ExistingFolder(QDir::fromNativeSeparators(record.value(RecordValue).toString()));
        if (!found.isEmpty())
            return found;
    }
    for (const QString& folder : UsualWindowsFolders) {
        const QString found = ExistingFolder(QDir::fromNativeSeparators(folder));
        if (!found.isEmpty())
            return found;
    }
    return {};
#else
    for (const QString& prefix : WinePrefixes()) {
        const QString found = FolderInWinePrefix(prefix);
        if (!found.isEmpty())
            return found;
    }
    return {};
#endif
}

QStringList RemasterInstallation::WinePrefixes()
{
    const QString chosen = qEnvironmentVariable("WINEPREFIX");
    if (!chosen.isEmpty())
        return {chosen};
    const QString home = QDir::homePath();
    QStringList prefixes = {home + QStringLiteral("/.wine"), home + QStringLiteral("/Games/battlenet")};
    for (const QString& steam : {QStringLiteral("/.steam/steam"), QStringLiteral("/.local/share/Steam")}) {
        const QDir compatData(home + steam + QStringLiteral("/steamapps/compatdata"));
        for (const QString& game : compatData.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            prefixes.append(compatData.filePath(game) + QStringLiteral("/pfx"));
    }
    return prefixes;
}

QString RemasterInstallation::FolderInWinePrefix(const QString& prefix)
{
    QFile systemReg(prefix + QStringLiteral("/system.reg"));
    if (systemReg.open(QIODevice::ReadOnly)) {
        const QString recorded = RecordedWindowsPath(systemReg.readAll());
        const QString found = ExistingFolder(GameInstallation::WindowsPathInPrefix(prefix, recorded));
        if (!recorded.isEmpty() && !found.isEmpty())
            return found;
    }
    for (const QString& folder : UsualWindowsFolders) {
        const QString found = ExistingFolder(GameInstallation::WindowsPathInPrefix(prefix, folder));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString RemasterInstallation::RecordedWindowsPath(const QByteArray& systemReg)
{
    for (const QString& key : RecordKeys) {
        const QString path = GameInstallation::ReadUserRegValue(systemReg, key, RecordValue);
        if (!path.isEmpty())
            return path;
    }
    return {};
}
