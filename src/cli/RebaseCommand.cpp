#include "RebaseCommand.h"

#include "core/CarvestoneSettings.h"
#include "model/EntryDiff.h"
#include "model/ModRebase.h"
#include "model/ProjectModel.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString Onto = QStringLiteral("onto");
const QString Base = QStringLiteral("base");
} // namespace

RebaseCommand::RebaseCommand()
    : ChangesCommand(
          QStringLiteral("rebase"), QStringLiteral("PROJECT"), 1, 1,
          QStringLiteral("Carries the MOD's changes over to new game data: each table of the project file PROJECT "
                         "becomes the table of the archive named by --onto with the MOD's cell, row and column "
                         "changes applied, measured against the original kept when the table was added (or the "
                         "table in --base). Where both changed a cell the MOD's value stays; each such conflict is "
                         "printed on a line of its own. Nothing is written unless every table can be merged; the "
                         "tables as they were are kept in a backup folder. Exit 0: rebased; 3: rebased with "
                         "conflicts; 1: nothing was written; 2: wrong usage."),
          {{Onto, QStringLiteral("ARCHIVE"), QStringLiteral("the new game data (required)")},
           {Base, QStringLiteral("ARCHIVE"),
            QStringLiteral("the game data the MOD was made for, for tables without a kept original (default: the "
                           "game archive in Carvestone's options)")}})
{
}

QString RebaseCommand::BaseArchive(const QCommandLineParser& parsed, const QString& onto, CommandContext& context)
{
    if (parsed.isSet(Base))
        return parsed.value(Base);
    const QString game = context.settings.GameMpqPath;
    // New data read as the original would carry nothing over and say nothing.
    const QString canonical = QFileInfo(game).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(onto).canonicalFilePath() ? QString() : game;
}

int RebaseCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    const QString onto = parsed.value(Onto);
    if (onto.isEmpty()) {
        context.err << Name() << ": --onto ARCHIVE is required\nusage: carvestone-cli " << Synopsis() << "\n";
        return UsageError;
    }
    ProjectModel project;
    if (!LoadProject(parsed.positionalArguments()[0], project, context))
        return Failure;
    QStringList tables;
    for (const QString& entry : project.FileList()) {
        if (EntryDiff::IsTableName(entry))
            tables.append(entry);
    }
    QHash<QString, QByteArray> theirs;
    QHash<QString, Original> originals;
    if (!ReadFromArchive(onto, tables, &theirs, context)
        || !ReadOriginals(project, tables, BaseArchive(parsed, onto, context), &originals, context))
        return Failure;
    std::vector<ModRebase::Source> sources;
    for (const QString& entry : project.FileList()) {
        const auto found = theirs.constFind(entry);
        const Original original = originals.value(entry);
        sources.push_back({entry, original.bytes, original.name,
                           found == theirs.cend() ? std::nullopt : std::optional(*found), InArchive(entry, onto)});
    }
    ModRebase rebase(project.ProjectFolder());
    QString error;
    QString backup;
    if (!rebase.Plan(sources, &error) || !rebase.Apply(&backup, &error)) {
        Fail(context, QStringLiteral("nothing was changed: %1").arg(error));
        return Failure;
    }
    Report(rebase, onto, backup, context);
    return rebase.ConflictCount() > 0 ? Conflicts : Success;
}

void RebaseCommand::Report(const ModRebase& rebase, const QString& onto, const QString& backup,
                           CommandContext& context) const
{
    for (const ModRebase::Table& table : rebase.Tables()) {
        for (const TableMerge::Conflict& conflict : table.merge.conflicts)
            context.out << QStringList{table.entry, TableMerge::KindName(conflict.kind), conflict.rowName,
                                       conflict.columnName, QString::fromLatin1(conflict.base),
                                       QString::fromLatin1(conflict.theirs), QString::fromLatin1(conflict.ours)}
                               .join(QLatin1Char('\t'))
                        << "\n";
    }
    for (const QString& note : rebase.Notes())
        context.err << note << "\n";
    context.err << QStringLiteral("%1 carried over to %2, %3")
                       .arg(ModRebase::TablesText(int(rebase.Tables().size())), QDir::toNativeSeparators(onto),
                            ModRebase::ConflictsText(rebase.ConflictCount()));
    if (!backup.isEmpty())
        context.err << QStringLiteral("; the tables as they were are in %1").arg(QDir::toNativeSeparators(backup));
    context.err << "\n";
}
