#include "ProjectCommands.h"

#include "CliArguments.h"
#include "core/CarvestoneSettings.h"
#include "core/MessageFormat.h"
#include "core/StringTable.h"
#include "core/TerminalText.h"
#include "model/ProjectCreation.h"
#include "model/ProjectModel.h"

#include <QDir>

namespace {

constexpr int Success = CliArguments::Success;
constexpr int Failure = CliArguments::Failure;
constexpr int UsageError = CliArguments::UsageError;

} // namespace

ProjectCommands::ProjectCommands(const CarvestoneSettings& settings, QTextStream& out, QTextStream& err)
    : settings(settings)
    , out(out)
    , err(err)
{
}

int ProjectCommands::New(const QStringList& arguments)
{
    const CliArguments parsed(arguments, {QStringLiteral("--mods")});
    if (!parsed.Fits(1)) {
        err << "new: usage: new NAME [--mods DIR]\n";
        return UsageError;
    }
    const QString name = parsed.Positional()[0];
    QString modsPath = parsed.Value(QStringLiteral("--mods"), settings.ModsPath);
    if (modsPath.isEmpty()) {
        err << "new: no MODs path: give --mods DIR or set it in Carvestone's options\n";
        return Failure;
    }
    modsPath = CarvestoneSettings::FolderWithSlash(QDir::fromNativeSeparators(modsPath));
    // As the program does at start-up: the MODs folder itself is made when
    // missing (one level); a failure shows as the project folder's failure.
    QDir().mkdir(modsPath);
    const ProjectCreation::Result created = ProjectCreation::Create(modsPath, name);
    switch (created.outcome) {
    case ProjectCreation::Outcome::Created:
        out << QDir::toNativeSeparators(created.projectFile) << "\n";
        return Success;
    case ProjectCreation::Outcome::InvalidName:
        err << StringTable::Get(StringId::BadProjectName) << "\n";
        break;
    case ProjectCreation::Outcome::ProjectExists:
        err << MessageFormat::Format(StringTable::Get(StringId::ProjectExists), {name}) << "\n";
        break;
    case ProjectCreation::Outcome::FolderFailed:
        err << MessageFormat::Format(StringTable::Get(StringId::CreateFolderFailed),
                                     {QDir::toNativeSeparators(created.projectFolder)})
            << "\n";
        break;
    case ProjectCreation::Outcome::FileFailed:
        err << created.fileError << "\n";
        break;
    }
    return Failure;
}

int ProjectCommands::Entries(const QStringList& arguments)
{
    if (arguments.size() != 1) {
        err << "entries: usage: entries PROJECT\n";
        return UsageError;
    }
    ProjectModel project;
    if (!Load(arguments[0], project))
        return Failure;
    for (const QString& entry : project.FileList())
        out << TerminalText::NameForTerminal(entry) << "\n";
    return Success;
}

int ProjectCommands::Add(const QStringList& arguments)
{
    return ChangeEntries(arguments, true);
}

int ProjectCommands::Remove(const QStringList& arguments)
{
    return ChangeEntries(arguments, false);
}

bool ProjectCommands::Load(const QString& path, ProjectModel& project)
{
    QString error;
    if (project.Load(path, error))
        return true;
    err << error << "\n";
    return false;
}

int ProjectCommands::ChangeEntries(const QStringList& arguments, bool adding)
{
    const char* verb = adding ? "add" : "remove";
    if (arguments.size() < 2) {
        err << verb << ": usage: " << verb << " PROJECT ENTRY...\n";
        return UsageError;
    }
    ProjectModel project;
    if (!Load(arguments[0], project))
        return Failure;
    const QStringList entries = arguments.mid(1);
    for (const QString& argument : entries) {
        if (adding && !ProjectModel::CanHoldEntry(TerminalText::NameFromTerminal(argument))) {
            err << "add: \"" << argument << "\" cannot be an entry: it is empty, starts with \";\", "
                << "holds a line break or a character the project file cannot store; nothing was changed\n";
            return Failure;
        }
    }
    for (const QString& argument : entries) {
        const QString entry = TerminalText::NameFromTerminal(argument);
        const bool changed = adding ? project.AddFile(entry) : project.RemoveFile(entry);
        if (!changed)
            out << argument << (adding ? " is already in the project\n" : " is not in the project\n");
    }
    QString error;
    if (project.IsModified() && !project.Write(project.Path(), error)) {
        err << error << "\n";
        return Failure;
    }
    return Success;
}
