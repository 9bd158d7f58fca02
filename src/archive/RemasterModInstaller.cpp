#include "RemasterModInstaller.h"

#include "RemasterModLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The game finds its folders without regard to case (Windows, and Wine for
// it): a folder already there in another spelling is the one it reads.
QString FolderIgnoringCase(const QString& parent, const QString& name)
{
    const QDir dir(parent);
    for (const QString& entry : dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

} // namespace

bool RemasterModInstaller::CanInstall(const QString& remasterFolder, const QString& projectPath)
{
    return WhyNotInstallable(remasterFolder, projectPath).isEmpty();
}

QString RemasterModInstaller::WhyNotInstallable(const QString& remasterFolder, const QString& projectPath)
{
    if (remasterFolder.isEmpty())
        return QStringLiteral("the Diablo II: Resurrected folder was not found");
    if (projectPath.isEmpty() || projectPath.contains(QLatin1String("untitled")))
        return QStringLiteral("an untitled project cannot be installed");
    const QString built = RemasterModLayout::BuiltFolderForProject(projectPath);
    if (built.isEmpty() || !RemasterModLayout::IsModFolder(built))
        return QStringLiteral("the mod folder has not been built yet");
    return {};
}

QString RemasterModInstaller::InstalledFolder(const QString& remasterFolder, const QString& name)
{
    return FolderIgnoringCase(FolderIgnoringCase(remasterFolder, QStringLiteral("mods")), name);
}

bool RemasterModInstaller::Install(const QString& builtFolder, const QString& remasterFolder, QString& error,
                                   const SafeFolderReplace::Progress& onFile)
{
    const QString name = QFileInfo(builtFolder).fileName();
    if (!RemasterModLayout::IsModFolder(builtFolder)) {
        error = QStringLiteral("The mod folder %1 has not been built (build the MOD first).").arg(Shown(builtFolder));
        return false;
    }
    if (!QFileInfo(remasterFolder).isDir()) {
        error = QStringLiteral("The Diablo II: Resurrected folder %1 does not exist.").arg(Shown(remasterFolder));
        return false;
    }
    const QString target = InstalledFolder(remasterFolder, name);
    const QString mods = QFileInfo(target).path();
    if (!QDir().mkpath(mods)) {
        error = QStringLiteral("Cannot make the mods folder %1.").arg(Shown(mods));
        return false;
    }
    SafeFolderReplace::RemoveLeftovers(mods, RemasterModLayout::InstallingPrefix(name));
    QTemporaryDir copy(mods + QLatin1Char('/') + RemasterModLayout::InstallingPrefix(name) + QStringLiteral("XXXXXX"));
    QString cause;
    if (!copy.isValid()) {
        error = QStringLiteral("Cannot copy the mod into %1: %2").arg(Shown(mods), copy.errorString());
        return false;
    }
    if (!SafeFolderReplace::CopyTree(builtFolder, copy.path(), target, &cause, onFile)) {
        error = QStringLiteral("Cannot copy %1 to %2: %3").arg(Shown(builtFolder), Shown(target), cause);
        return false;
    }
    if (!SafeFolderReplace::PutInPlace(copy.path(), target, &cause)) {
        error = QStringLiteral("Cannot put the mod in place as %1: %2").arg(Shown(target), cause);
        return false;
    }
    copy.setAutoRemove(false);
    return true;
}
