#include "ExtractCommand.h"

#include "archive/GameDataFolder.h"
#include "archive/MachineChannel.h"
#include "archive/MpqLibrary.h"
#include "core/FileErrorText.h"
#include "core/SafeFileWriter.h"
#include "core/TerminalText.h"
#include "model/ExtractedDataRule.h"
#include "model/ProjectEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {
const QString MissingOk = QStringLiteral("missing-ok");
} // namespace

ExtractCommand::ExtractCommand()
    : ArchiveCommand(QStringLiteral("extract"), QStringLiteral("ARCHIVE NAME... DEST"), 3, -1,
                     QStringLiteral("Copies the file NAME out of the MPQ archive ARCHIVE, or out of the folder of "
                                    "extracted game data ARCHIVE, into the folder DEST (under its name part) or to "
                                    "the file DEST; an existing file is replaced only once the whole file was "
                                    "read. With several NAMEs, DEST is a folder."),
                     {{MissingOk, {},
                       QStringLiteral("a NAME the archive does not hold is no failure: it is named on a line "
                                      "\"missing NAME\" instead")}})
{
}

int ExtractCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QStringList arguments = parsed.positionalArguments();
    const QString archive = arguments.first();
    const QString destination = arguments.last();
    QStringList names;
    for (const QString& argument : arguments.mid(1, arguments.size() - 2))
        names.append(TerminalText::NameFromTerminal(argument));
    const bool fromFolder = QFileInfo(archive).isDir();
    if (fromFolder && !ExtractedDataRule::Problem(archive).isEmpty()) {
        Fail(context, ExtractedDataRule::Problem(archive));
        return Failure;
    }
    if (!fromFolder && (!RequireLibrary(context) || !RequireArchive(archive, context)))
        return Failure;
    if (names.size() > 1 || parsed.isSet(MissingOk))
        return ExtractInto(archive, names, destination, parsed.isSet(MissingOk), context);
    const bool intoFolder = QFileInfo(destination).isDir();
    QString error;
    const bool extracted = fromFolder
        ? GameDataFolder::ExtractFile(archive, names.first(), destination, intoFolder, &error)
        : context.library.ExtractFile(archive, names.first(), destination, intoFolder, &error);
    if (!extracted) {
        Fail(context, QStringLiteral("cannot extract %1: %2").arg(arguments[1], TerminalText::NameForTerminal(error)));
        return Failure;
    }
    return Success;
}

bool ExtractCommand::ReadFiles(const QString& source, const QStringList& names, QHash<QString, QByteArray>* found,
                               QString* error, CommandContext& context)
{
    if (!QFileInfo(source).isDir())
        return context.library.ReadFiles(source, names, found, error);
    for (const QString& name : names) {
        const QString path = GameDataFolder::FilePath(source, name);
        if (path.isEmpty())
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = FileErrorText::ForDevice(file, errno, path);
            return false;
        }
        found->insert(name, file.readAll());
    }
    return true;
}

int ExtractCommand::ExtractInto(const QString& archive, const QStringList& names, const QString& folder,
                                bool missingOk, CommandContext& context) const
{
    if (!QFileInfo(folder).isDir()) {
        Fail(context, QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(folder)));
        return UsageError;
    }
    QHash<QString, QByteArray> found;
    QString error;
    if (!ReadFiles(archive, names, &found, &error, context)) {
        Fail(context, error);
        return Failure;
    }
    int status = Success;
    for (const QString& name : names) {
        const QString shown = TerminalText::NameForTerminal(name);
        const QString target = ProjectEntry::DiskPath(QDir(folder).absolutePath() + QLatin1Char('/'), name);
        if (!found.contains(name)) {
            if (!missingOk) {
                Fail(context, QStringLiteral("cannot extract %1: it is not in %2").arg(shown, archive));
                status = Failure;
            } else if (!context.machine) {
                context.out << "missing " << shown << "\n";
            }
        } else if (target.isEmpty() || !SafeFileWriter::WriteFile(target, found.value(name), &error)) {
            Fail(context, QStringLiteral("cannot extract %1: %2")
                              .arg(shown, target.isEmpty() ? FileErrorText::ForErrno(EINVAL, name) : error));
            status = Failure;
        } else if (context.machine) {
            context.machine->Name(name);
        }
    }
    return status;
}
