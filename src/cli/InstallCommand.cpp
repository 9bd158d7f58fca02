#include "InstallCommand.h"

#include "archive/ModInstaller.h"
#include "archive/RemasterModInstaller.h"
#include "archive/RemasterModLayout.h"
#include "core/CarvestoneSettings.h"
#include "core/MessageFormat.h"
#include "core/StringTable.h"
#include "model/ProjectModel.h"

#include <QDir>
#include <QFileInfo>

InstallCommand::InstallCommand()
    : ArchiveCommand(QStringLiteral("install"), QStringLiteral("PROJECT"), 1, 1,
                     QStringLiteral("Installs the built MOD of the project file PROJECT into its game. Classic: the "
                                    "MOD archive becomes the game's patch_d2.mpq; the first install keeps the game's "
                                    "own archive as patch_d2.bak. Remaster: the mod folder is copied to the game's "
                                    "mods folder, replacing a mod of that name only once the copy is complete. Asks "
                                    "first unless --yes is given."),
                     {{QStringLiteral("game-folder"), QStringLiteral("DIR"),
                       QStringLiteral("the game's folder (default: the one found or chosen for the project's game)")},
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
    ProjectModel project;
    if (!LoadProject(projectPath, project, context) || !RequireKnownTarget(project, context))
        return Failure;
    if (project.Target() == BuildTarget::RemasterModFolder)
        return InstallRemaster(parsed, project.Path(), context);
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

int InstallCommand::InstallRemaster(const QCommandLineParser& parsed, const QString& projectPath,
                                    CommandContext& context)
{
    const QString gameFolder = parsed.isSet(QStringLiteral("game-folder"))
        ? QDir::fromNativeSeparators(parsed.value(QStringLiteral("game-folder")))
        : context.settings.RemasterFolder();
    if (gameFolder.isEmpty()) {
        Fail(context, QStringLiteral("the Diablo II: Resurrected folder was not found: give --game-folder DIR or "
                                     "choose it in Carvestone's options"));
        return Failure;
    }
    const QString built = RemasterModLayout::BuiltFolderForProject(projectPath);
    if (!RemasterModInstaller::CanInstall(gameFolder, projectPath)) {
        Fail(context, QStringLiteral("%1 has no built mod folder %2 (build it first; an untitled project cannot be "
                                     "installed)")
                          .arg(QDir::toNativeSeparators(projectPath), QDir::toNativeSeparators(built)));
        return Failure;
    }
    const QString name = RemasterModLayout::ModName(QFileInfo(projectPath).fileName());
    const QString target = RemasterModInstaller::InstalledFolder(gameFolder, name);
    if (!parsed.isSet(QStringLiteral("yes"))
        && !Confirm(MessageFormat::Format(StringTable::Get(StringId::ConfirmRemasterInstall),
                                          {QDir::toNativeSeparators(target)}),
                    context)) {
        Fail(context, QStringLiteral("not confirmed; nothing was installed"));
        return Failure;
    }
    QString error;
    if (!RemasterModInstaller::Install(built, gameFolder, error)) {
        Fail(context, error);
        return Failure;
    }
    context.out << name << " is installed in " << QDir::toNativeSeparators(target) << ".\n"
                << "Start Diablo II: Resurrected with: " << RemasterModLayout::LauncherArguments(name) << "\n";
    return Success;
}
