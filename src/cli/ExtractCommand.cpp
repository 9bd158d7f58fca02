#include "ExtractCommand.h"

#include "archive/GameDataFolder.h"
#include "archive/MpqLibrary.h"
#include "core/TerminalText.h"
#include "model/ExtractedDataRule.h"

#include <QFileInfo>

ExtractCommand::ExtractCommand()
    : ArchiveCommand(QStringLiteral("extract"), QStringLiteral("ARCHIVE NAME DEST"), 3, 3,
                     QStringLiteral("Copies the file NAME out of the MPQ archive ARCHIVE, or out of the folder of "
                                    "extracted game data ARCHIVE, into the folder DEST (under its name part) or to "
                                    "the file DEST; an existing file is replaced only once the whole file was "
                                    "read."))
{
}

int ExtractCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QStringList arguments = parsed.positionalArguments();
    const QString archive = arguments[0];
    const QString name = TerminalText::NameFromTerminal(arguments[1]);
    const QString destination = arguments[2];
    const bool fromFolder = QFileInfo(archive).isDir();
    if (fromFolder && !ExtractedDataRule::Problem(archive).isEmpty()) {
        Fail(context, ExtractedDataRule::Problem(archive));
        return Failure;
    }
    if (!fromFolder && (!RequireLibrary(context) || !RequireArchive(archive, context)))
        return Failure;
    const bool intoFolder = QFileInfo(destination).isDir();
    QString error;
    const bool extracted = fromFolder
        ? GameDataFolder::ExtractFile(archive, name, destination, intoFolder, &error)
        : context.library.ExtractFile(archive, name, destination, intoFolder, &error);
    if (!extracted) {
        Fail(context, QStringLiteral("cannot extract %1: %2").arg(arguments[1], TerminalText::NameForTerminal(error)));
        return Failure;
    }
    return Success;
}
