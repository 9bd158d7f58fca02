#include "NewCommand.h"

#include "core/CarvestoneSettings.h"
#include "core/MessageFormat.h"
#include "core/StringTable.h"
#include "model/ProjectCreation.h"

#include <QDir>

NewCommand::NewCommand()
    : Command(QStringLiteral("new"), QStringLiteral("NAME"), 1, 1,
              QStringLiteral("Makes the MOD project NAME: the folder NAME in the MODs folder and its project file "
                             "NAME.mod, and prints the project file's path."),
              {{QStringLiteral("mods"), QStringLiteral("DIR"),
                QStringLiteral("the MODs folder (default: the one in Carvestone's options)")}})
{
}

int NewCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QString name = parsed.positionalArguments()[0];
    // Refused before anything is made: an empty name would make the MODs
    // folder itself and then report that as a failed project folder.
    if (ProjectCreation::IsMissingName(name)) {
        Fail(context, StringTable::Get(StringId::ProjectNameMissing));
        return Failure;
    }
    QString modsPath = parsed.isSet(QStringLiteral("mods")) ? parsed.value(QStringLiteral("mods"))
                                                             : context.settings.ModsPath;
    if (modsPath.isEmpty()) {
        Fail(context, QStringLiteral("no MODs path: give --mods DIR or set it in Carvestone's options"));
        return Failure;
    }
    modsPath = CarvestoneSettings::FolderWithSlash(QDir::fromNativeSeparators(modsPath));
    // As the program does at start-up: the MODs folder itself is made when
    // missing (one level); a failure shows as the project folder's failure.
    QDir().mkdir(modsPath);
    const ProjectCreation::Result created = ProjectCreation::Create(modsPath, name);
    switch (created.outcome) {
    case ProjectCreation::Outcome::Created:
        context.out << QDir::toNativeSeparators(created.projectFile) << "\n";
        return Success;
    case ProjectCreation::Outcome::NameMissing:
    case ProjectCreation::Outcome::InvalidName:
        context.err << StringTable::Get(StringId::BadProjectName) << "\n";
        break;
    case ProjectCreation::Outcome::ProjectExists:
        context.err << MessageFormat::Format(StringTable::Get(StringId::ProjectExists), {name}) << "\n";
        break;
    case ProjectCreation::Outcome::FolderFailed:
        context.err << MessageFormat::Format(StringTable::Get(StringId::CreateFolderFailed),
                                             {QDir::toNativeSeparators(created.projectFolder)})
                    << "\n";
        break;
    case ProjectCreation::Outcome::FileFailed:
        context.err << created.fileError << "\n";
        break;
    }
    return Failure;
}
