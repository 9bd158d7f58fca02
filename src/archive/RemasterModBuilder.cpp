#include "RemasterModBuilder.h"

#include "ArchiveBusy.h"
#include "BuildLog.h"
#include "GameDataFolder.h"
#include "RemasterModLayout.h"
#include "core/SafeFileCopy.h"
#include "core/SafeFileWriter.h"
#include "core/SafeFolderReplace.h"
#include "model/ProjectEntry.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A failure's words name the file by the place it is built for, never by
// the temporary folder the build works in.
QString AsShown(QString text, const QString& working, const QString& shown)
{
    return text.replace(Shown(working), Shown(shown));
}

} // namespace

RemasterModBuilder::RemasterModBuilder(const ModBuilder::Request& request, const QString& filesFolder,
                                       const QString& shownFolder)
    : request(request)
    , filesFolder(filesFolder)
    , shownFolder(shownFolder)
{
}

BuildOutcome RemasterModBuilder::Build(const ModBuilder::Request& request, BuildLog& log)
{
    ArchiveBusy busy;
    const QString output = request.archivePath;
    const QString name = QFileInfo(output).fileName();
    const auto leftAsItWas = [&](BuildOutcome outcome) {
        log.AppendLogLine(QStringLiteral("The mod folder %1 was left as it was").arg(Shown(output)));
        return outcome;
    };
    if (request.entries.isEmpty()) {
        log.AppendLogLine(QStringLiteral("The project has no files to add"));
        return BuildOutcome::NotRun;
    }
    const QString parent = QFileInfo(output).absolutePath();
    SafeFolderReplace::RemoveLeftovers(parent, RemasterModLayout::BuildingPrefix(name));
    SafeFolderReplace::RecoverInterrupted(output);
    const QFileInfo existing(output);
    if ((existing.exists() || existing.isSymLink())
        && (existing.isSymLink() || !existing.isDir() || !RemasterModLayout::IsModFolder(output))) {
        log.AppendLogLine(QStringLiteral("%1 is in the way: it is not a mod folder that Carvestone built. Move it "
                                         "elsewhere and build again")
                              .arg(Shown(output)));
        return leftAsItWas(BuildOutcome::NotRun);
    }

    QTemporaryDir working(parent + QLatin1Char('/') + RemasterModLayout::BuildingPrefix(name) + QStringLiteral("XXXXXX"));
    const QString filesName = RemasterModLayout::FilesFolderName(name);
    QString error;
    if (!working.isValid() || !QDir(working.path()).mkdir(filesName)) {
        log.AppendLogLine(QStringLiteral("Cannot make the new mod folder in %1: %2")
                              .arg(Shown(parent), working.isValid() ? QStringLiteral("it cannot be written")
                                                                    : working.errorString()));
        return leftAsItWas(BuildOutcome::NotRun);
    }
    const QString files = QDir(working.path()).filePath(filesName);
    if (!SafeFileWriter::WriteFile(files + QStringLiteral("/modinfo.json"), RemasterModLayout::ModInfo(name), &error)) {
        log.AppendLogLine(AsShown(error, working.path(), output));
        return leftAsItWas(BuildOutcome::NotRun);
    }

    RemasterModBuilder builder(request, files, RemasterModLayout::FilesFolder(output));
    bool allCopied = true;
    for (const QString& entry : request.entries)
        allCopied = log.AppendEntryLine(entry, [&] { return builder.CopyEntry(entry); }) && allCopied;
    // A mod folder missing some of the MOD's files would load the game's own
    // in their place without a word: the previous build stays instead.
    if (!allCopied)
        return leftAsItWas(BuildOutcome::SomeFailed);
    if (!SafeFolderReplace::PutInPlace(working.path(), output, &error)) {
        log.AppendLogLine(QStringLiteral("Cannot put the new mod folder in place: %1").arg(error));
        return leftAsItWas(BuildOutcome::NotRun);
    }
    working.setAutoRemove(false);
    // The last line says where the mod is, as the classic build's does, for
    // the install or a copy by hand.
    log.AppendLogLine(QStringLiteral("Built the mod folder %1").arg(Shown(output)));
    return BuildOutcome::AllAdded;
}

QString RemasterModBuilder::CopyEntry(const QString& entry)
{
    QString diskPath;
    const QString problem = ProjectEntry::DiskFileProblem(request.modFolder, entry, diskPath);
    if (!problem.isEmpty())
        return problem;
    const QString path = PathInMod(entry);
    if (path.isEmpty())
        return QStringLiteral("%1 holds a folder name that cannot be a folder").arg(entry);
    if (written.contains(path.toLower()))
        return QStringLiteral("another file of the MOD already goes to %1").arg(Shown(path));
    const QString target = QDir(filesFolder).filePath(path);
    QString error;
    if (!QDir(filesFolder).mkpath(QFileInfo(path).path()))
        return QStringLiteral("cannot make the folder %1").arg(Shown(QDir(shownFolder).filePath(QFileInfo(path).path())));
    if (!SafeFileCopy::CopyReplacing(diskPath, target, &error))
        return AsShown(error, filesFolder, shownFolder);
    written.insert(path.toLower());
    return {};
}

QString RemasterModBuilder::PathInMod(const QString& entry)
{
    const QString spelled = request.gameDataPath.isEmpty() ? ProjectEntry::RelativeDiskPath(entry)
                                                           : GameDataFolder::Spelled(request.gameDataPath, entry);
    if (spelled.isEmpty())
        return {};
    const QStringList parts = spelled.split(QLatin1Char('/'));
    QString folder;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString path = folder.isEmpty() ? parts[i] : folder + QLatin1Char('/') + parts[i];
        folder = folderSpellings.value(path.toLower(), path);
        folderSpellings.insert(path.toLower(), folder);
    }
    return folder.isEmpty() ? parts.last() : folder + QLatin1Char('/') + parts.last();
}
