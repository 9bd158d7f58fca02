#include "ProjectCommands.h"

#include "CarvestoneSettings.h"
#include "MessageFormat.h"
#include "project/ProjectCreation.h"
#include "project/ProjectModel.h"
#include "resources/StringTable.h"

#include <QDir>

namespace {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int UsageError = 2;

// Entries are bytes, one byte a character; the command line and the
// terminal speak the local encoding.
QString EntryFromArgument(const QString& argument)
{
    return QString::fromLatin1(argument.toLocal8Bit());
}

QString EntryForTerminal(const QString& entry)
{
    return QString::fromLocal8Bit(entry.toLatin1());
}

} // namespace

ProjectCommands::ProjectCommands(const CarvestoneSettings& settings, QTextStream& out, QTextStream& err)
    : settings(settings)
    , out(out)
    , err(err)
{
}

int ProjectCommands::New(const QStringList& arguments)
{
    QString name;
    QString modsPath = settings.ModsPath;
    bool haveName = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--mods") && i + 1 < arguments.size()) {
            modsPath = arguments[++i];
        } else if (!haveName) {
            name = arguments[i];
            haveName = true;
        } else {
            err << "new: unexpected argument " << arguments[i] << "\n";
            return UsageError;
        }
    }
    if (!haveName) {
        err << "new: usage: new NAME [--mods DIR]\n";
        return UsageError;
    }
    if (modsPath.isEmpty()) {
        err << "new: no MODs path: give --mods DIR or set it in Carvestone's options\n";
        return Failure;
    }
    modsPath = CarvestoneSettings::FolderWithSlash(QDir::fromNativeSeparators(modsPath));
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
    QString error;
    if (!project.Load(arguments[0], error)) {
        err << error << "\n";
        return Failure;
    }
    for (const QString& entry : project.FileList())
        out << EntryForTerminal(entry) << "\n";
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

int ProjectCommands::ChangeEntries(const QStringList& arguments, bool adding)
{
    const char* verb = adding ? "add" : "remove";
    if (arguments.size() < 2) {
        err << verb << ": usage: " << verb << " PROJECT ENTRY...\n";
        return UsageError;
    }
    ProjectModel project;
    QString error;
    if (!project.Load(arguments[0], error)) {
        err << error << "\n";
        return Failure;
    }
    for (const QString& argument : arguments.mid(1)) {
        const QString entry = EntryFromArgument(argument);
        const bool changed = adding ? project.AddFile(entry) : project.RemoveFile(entry);
        if (!changed)
            out << argument << (adding ? " is already in the project\n" : " is not in the project\n");
    }
    if (!project.IsModified())
        return Success;
    if (!project.Write(project.Path(), error)) {
        err << error << "\n";
        return Failure;
    }
    return Success;
}
