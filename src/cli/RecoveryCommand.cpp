#include "RecoveryCommand.h"

#include "core/CarvestoneSettings.h"
#include "core/SafeFileWriter.h"
#include "core/TerminalText.h"
#include "model/ProjectModel.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

QString ProjectTitle(const RecoveryRecord& record)
{
    return record.projectPath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(record.projectPath).fileName();
}

} // namespace

RecoveryCommand::RecoveryCommand()
    : Command(QStringLiteral("recovery"), QString(), 0, 0,
              QStringLiteral("Lists the unsaved work that Carvestone programs which ended without saving (killed, "
                             "crashed, their session lost) left in recovery records, as the next start of the "
                             "window would offer it."),
              {{QStringLiteral("save-to"), QStringLiteral("DIR"),
                QStringLiteral("write each unsaved table, and each unsaved entry list as a project file, into DIR "
                               "under a name no file there has yet")},
               {QStringLiteral("discard"), QString(),
                QStringLiteral("remove the records (after --save-to has written them, when both are given)")}})
{
}

int RecoveryCommand::Execute(const QCommandLineParser& parsed, CommandContext& context)
{
    QList<RecoveryFolder::SetAside> setAside;
    const auto claims = RecoveryFolder(RecoveryFolder::DefaultPath()).ClaimOrphans(setAside);
    for (const RecoveryFolder::SetAside& record : setAside)
        Fail(context, QStringLiteral("%1 could not be read (%2); it was set aside as %3")
                          .arg(QDir::toNativeSeparators(record.path), record.cause,
                               record.keptAs.isEmpty() ? QStringLiteral("nothing: renaming failed too")
                                                       : QDir::toNativeSeparators(record.keptAs)));
    const QString saveTo = parsed.value(QStringLiteral("save-to"));
    bool succeeded = setAside.isEmpty();
    for (const auto& claim : claims) {
        List(*claim, context);
        const bool saved = saveTo.isEmpty() || SaveTo(saveTo, claim->Record(), context);
        succeeded = saved && succeeded;
        QString error;
        // A record whose work could not be written out stays.
        if (saved && parsed.isSet(QStringLiteral("discard")) && !claim->Discard(&error)) {
            Fail(context, error);
            succeeded = false;
        }
    }
    return succeeded ? Success : Failure;
}

void RecoveryCommand::List(const RecoveryFolder::Claim& claim, CommandContext& context) const
{
    const RecoveryRecord& record = claim.Record();
    const QString when = QDateTime::fromMSecsSinceEpoch(record.writtenAt).toString(Qt::ISODate);
    const QString project = record.projectPath.isEmpty() ? ProjectTitle(record) : QDir::toNativeSeparators(record.projectPath);
    context.out << TerminalText::NameForTerminal(project) << " (recorded " << when << " by process "
                << record.processId << ")\n";
    if (record.projectModified)
        context.out << "  unsaved entry list of " << record.entries.size() << " entries\n";
    const QString folder = RecoveryRecord::ProjectFolderOf(record.projectPath);
    for (const RecoveryRecord::Table& table : record.tables) {
        const QString state = !table.modified ? QStringLiteral("open, no unsaved changes")
            : RecoveryRecord::FileChangedSince(folder, table) ? QStringLiteral("unsaved changes; the file was changed since")
                                                               : QStringLiteral("unsaved changes");
        context.out << "  " << TerminalText::NameForTerminal(table.name) << ": " << state << "\n";
    }
}

bool RecoveryCommand::SaveTo(const QString& folder, const RecoveryRecord& record, CommandContext& context) const
{
    if (!QDir().mkpath(folder)) {
        Fail(context, QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    bool written = true;
    if (record.projectModified) {
        ProjectModel project;
        project.ReplaceFileList(record.entries);
        const QString title = ProjectTitle(record);
        written = WriteNew(folder, record.projectPath.isEmpty() ? title + QStringLiteral(".mod") : title,
                           project.Serialize(), context);
    }
    for (const RecoveryRecord::Table& table : record.tables) {
        if (table.modified)
            written = WriteNew(folder, table.name, table.content, context) && written;
    }
    return written;
}

bool RecoveryCommand::WriteNew(const QString& folder, const QString& name, const QByteArray& bytes,
                               CommandContext& context) const
{
    const QString base = CarvestoneSettings::FolderWithSlash(QDir::fromNativeSeparators(folder));
    const QString free = QFileInfo::exists(base + name)
        ? RecoveryRecord::CopyName(name, [&](const QString& candidate) { return QFileInfo::exists(base + candidate); })
        : name;
    QString error;
    if (!SafeFileWriter::WriteFile(base + free, bytes, &error)) {
        Fail(context, error);
        return false;
    }
    context.out << "  written to " << TerminalText::NameForTerminal(QDir::toNativeSeparators(base + free)) << "\n";
    return true;
}
