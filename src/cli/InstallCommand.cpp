#include "InstallCommand.h"

#include "archive/ModInstaller.h"
#include "core/CarvestoneSettings.h"
#include "core/StringTable.h"

#include <QDir>

InstallCommand::InstallCommand()
    : ArchiveCommand(QStringLiteral("install"), QStringLiteral("PROJECT"), 1, 1,
                     QStringLiteral("Installs the built MOD archive of the project file PROJECT as the game's "
                                    "patch_d2.mpq; the first install keeps the game's own archive as patch_d2.bak. "
                                    "Asks first unless --yes is given."),
                     {{QStringLiteral("game-folder"), QStringLiteral("DIR"),
                       QStringLiteral("the Diablo II folder (default: the one found for the game)")},
                      {QStringLiteral("yes"), {}, QStringLiteral("install without asking")}})
{
}

bool InstallCommand::Confirm(const QString& question, CommandContext& context)
{
    context.out << question << "\n[y/N] ";
    context.out.flush();
    const QString answer = context.in.readLine().trimmed();
    return answer.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0
        || answer.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
}

int InstallCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QString projectPath = QDir::fromNativeSeparators(parsed.positionalArguments()[0]);
    const QString gameFolder = parsed.isSet(QStringLiteral("game-folder")) ? parsed.value(QStringLiteral("game-folder"))
                                                                           : context.settings.GameFolder;
    if (gameFolder.isEmpty()) {
        Fail(context, QStringLiteral("the Diablo II folder is not known: give --game-folder DIR"));
        return Failure;
    }
    const QString archive = ModBuilder::ArchivePathForProject(projectPath);
    if (!ModInstaller::CanInstall(gameFolder, projectPath)) {
        Fail(context, QStringLiteral("%1 has no built MOD archive %2 (build it first; an untitled project cannot be "
                                     "installed)")
                          .arg(QDir::toNativeSeparators(projectPath), QDir::toNativeSeparators(archive)));
        return Failure;
    }
    if (!parsed.isSet(QStringLiteral("yes")) && !Confirm(StringTable::Get(StringId::ConfirmInstall), context)) {
        Fail(context, QStringLiteral("not confirmed; nothing was installed"));
        return Failure;
    }
    QString error;
    if (!ModInstaller::Install(archive, gameFolder, error)) {
        Fail(context, error);
        return Failure;
    }
    context.out << ModInstaller::DescribeInstall(archive, gameFolder) << "\n";
    return Success;
}
