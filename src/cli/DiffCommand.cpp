#include "DiffCommand.h"

#include "core/CarvestoneSettings.h"
#include "model/EntryDiff.h"
#include "model/ProjectEntry.h"
#include "model/ProjectModel.h"
#include "model/TableFile.h"

#include <QDir>

namespace {
const QString Game = QStringLiteral("game");
const QString Stat = QStringLiteral("stat");
} // namespace

DiffCommand::DiffCommand()
    : ChangesCommand(
          QStringLiteral("diff"), QStringLiteral("PROJECT"), 1, 1,
          QStringLiteral("Prints what the MOD of the project file PROJECT changes against the game, one tab-separated "
                         "line a change: archive name, kind (cell, row+, row-, col+, col-; file+ for a file the game "
                         "does not have, file~ for another file whose bytes differ), row name, column name, game "
                         "value, MOD value. Each file is compared with the original kept when it was added from an "
                         "archive, else with the same name in the game archive. Exit 0: compared; 1: a file could "
                         "not be compared; 2: wrong usage."),
          {{Game, QStringLiteral("ARCHIVE"),
            QStringLiteral("the game archive for files without a kept original (default: the one in Carvestone's "
                           "options)")},
           {Stat, {}, QStringLiteral("one line a table with its counts instead of one a change")}})
{
}

int DiffCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    ProjectModel project;
    if (!LoadProject(parsed.positionalArguments()[0], project, context))
        return Failure;
    const QString game = parsed.isSet(Game) ? parsed.value(Game) : context.settings.GameMpqPath;
    QHash<QString, Original> originals;
    if (!ReadOriginals(project, project.FileList(), game, &originals, context))
        return Failure;
    int status = Success;
    for (const QString& entry : project.FileList()) {
        const QString path = ProjectEntry::DiskPath(project.ProjectFolder(), entry);
        QByteArray bytes;
        QString error;
        if (!TableFile::ReadFile(path, &bytes, &error)) {
            Fail(context, path.isEmpty() ? QStringLiteral("%1 cannot be a file of the MOD folder").arg(entry) : error);
            status = Failure;
            continue;
        }
        const Original& original = originals[entry];
        const EntryDiff diff = EntryDiff::Compare(entry, path, bytes, original.bytes, original.name);
        if (diff.GetKind() == EntryDiff::Kind::Failed) {
            Fail(context, diff.Error());
            status = Failure;
            continue;
        }
        for (const QString& line : parsed.isSet(Stat) ? diff.StatLines() : diff.Lines())
            context.out << line << "\n";
    }
    return status;
}
