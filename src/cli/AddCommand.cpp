#include "AddCommand.h"

#include "archive/MpqLibrary.h"
#include "core/TerminalText.h"
#include "model/ArchiveNameRule.h"
#include "model/KeptOriginals.h"
#include "model/ProjectEntry.h"
#include "model/ProjectModel.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString From = QStringLiteral("from");
} // namespace

AddCommand::AddCommand()
    : EntryEditCommand(QStringLiteral("add"), QStringLiteral("PROJECT ENTRY..."), 2, -1,
                       QStringLiteral("Adds each ENTRY (an archive name such as data\\global\\excel\\weapons.txt) "
                                      "to the project file PROJECT; the file itself is the MOD folder's file of that "
                                      "name part."),
                       {{From, QStringLiteral("ARCHIVE"),
                         QStringLiteral("first extract each ENTRY from the MPQ archive ARCHIVE into the MOD folder "
                                        "and keep it as the file's original, for diff and rebase")}})
{
}

int AddCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    fromArchive = parsed.value(From);
    extractionFailed = false;
    if (!fromArchive.isEmpty() && !(RequireLibrary(context) && RequireArchive(fromArchive, context)))
        return Failure;
    const int status = EntryEditCommand::Execute(parsed, context);
    return status == Success && extractionFailed ? Failure : status;
}

bool AddCommand::CheckNames(const QStringList& entries, CommandContext& context) const
{
    for (const QString& argument : entries) {
        if (!ProjectModel::CanHoldEntry(TerminalText::NameFromTerminal(argument))) {
            Fail(context, QStringLiteral("\"%1\" cannot be an entry: it is empty, starts with \";\", holds a line "
                                         "break or a character the project file cannot store; nothing was changed")
                              .arg(argument));
            return false;
        }
    }
    return true;
}

void AddCommand::Change(ProjectModel& project, const QString& entry, const QString& argument,
                        CommandContext& context) const
{
    if (!fromArchive.isEmpty() && !Extract(project, entry, context))
        extractionFailed = true;
    else if (!project.AddFile(entry))
        context.out << argument << " is already in the project\n";
}

bool AddCommand::Extract(const ProjectModel& project, const QString& entry, CommandContext& context) const
{
    const QString shown = TerminalText::NameForTerminal(entry);
    QString problem = ArchiveNameRule::Problem(entry);
    for (const QString& other : project.FileList()) {
        if (problem.isEmpty() && other != entry && ArchiveNameRule::SameNamePart(other, entry))
            problem = QStringLiteral("%1 in the MOD folder is the file of %2, and two entries cannot share one file")
                          .arg(ProjectEntry::NamePart(shown), TerminalText::NameForTerminal(other));
    }
    const QString destination = ProjectEntry::DiskPath(project.ProjectFolder(), entry);
    // The modder's own work is never overwritten by a command nobody confirms.
    if (problem.isEmpty() && QFileInfo::exists(destination))
        problem = QStringLiteral("%1 is in the MOD folder already; remove it first, or add the entry without --from "
                                 "to keep it")
                      .arg(QDir::toNativeSeparators(destination));
    QString error;
    if (problem.isEmpty() && !context.library.ExtractFile(fromArchive, entry, destination, false, &error))
        problem = QStringLiteral("cannot extract it: %1").arg(TerminalText::NameForTerminal(error));
    if (problem.isEmpty() && !KeptOriginals(project.ProjectFolder()).KeepCopyOf(entry, destination, &error))
        problem = QStringLiteral("its original cannot be kept: %1").arg(error);
    if (problem.isEmpty())
        return true;
    Fail(context, QStringLiteral("%1 was not added: %2").arg(shown, problem));
    return false;
}
