#include "ArchiveCommand.h"

#include "archive/BuildLog.h"
#include "archive/MachineChannel.h"
#include "archive/MpqHeaderCheck.h"
#include "archive/MpqLibrary.h"
#include "core/FileErrorText.h"
#include "core/TerminalText.h"
#include "model/ProjectModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

class TerminalLog : public BuildLog
{
public:
    explicit TerminalLog(QTextStream& out)
        : out(out)
    {
    }
    void AppendLog(const QString& text) override
    {
        out << TerminalText::NameForTerminal(text);
        out.flush();
    }

private:
    QTextStream& out;
};

// A damaged archive can make the archive library ask for tens of gigabytes;
// with a ceiling that allocation fails at once instead of swapping the
// machine for a minute.  AddressSanitizer reserves far more address space
// than this, so its builds go without.
void LimitMemoryForArchiveWork()
{
#if defined(Q_OS_UNIX) && !defined(__SANITIZE_ADDRESS__)
    constexpr rlim_t Ceiling = rlim_t(2) << 30;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > Ceiling)) {
        limit.rlim_cur = Ceiling;
        setrlimit(RLIMIT_AS, &limit);
    }
#endif
}

} // namespace

bool ArchiveCommand::RequireLibrary(CommandContext& context) const
{
    // Every verb that lets the library read an archive asks here first.
    LimitMemoryForArchiveWork();
    if (context.library.IsAvailable())
        return true;
    Fail(context, QStringLiteral("the archive library %1 cannot be loaded (set CARVESTONE_MPQ_LIBRARY to StormLib's path)")
                      .arg(MpqLibrary::LibraryName()));
    return false;
}

bool ArchiveCommand::RequireArchive(const QString& archive, CommandContext& context) const
{
    if (context.library.CanOpenArchive(archive))
        return true;
    Fail(context, QFileInfo(archive).isFile() ? MpqHeaderCheck::DamagedMessage(archive)
                                              : FileErrorText::ForErrno(ENOENT, archive));
    return false;
}

int ArchiveCommand::RunBuild(const ModBuilder::Request& request, CommandContext& context) const
{
    TerminalLog terminal(context.out);
    BuildLog& log = context.machine ? static_cast<BuildLog&>(*context.machine) : terminal;
    const BuildOutcome outcome = ModBuilder::Build(context.library, request, log);
    if (outcome == BuildOutcome::AllAdded)
        return Success;
    if (request.target == BuildTarget::RemasterModFolder)
        Fail(context, outcome == BuildOutcome::NotRun ? QStringLiteral("the mod folder was not built")
                                                      : QStringLiteral("some files could not be copied, so the mod "
                                                                       "folder was not replaced"));
    else
        Fail(context, outcome == BuildOutcome::NotRun ? QStringLiteral("the MOD archive was not built")
                                                      : QStringLiteral("some files were not added"));
    return Failure;
}

bool ArchiveCommand::ReadEntriesFile(const QString& path, QStringList& entries, CommandContext& context) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(context, QStringLiteral("cannot read the list of entries %1: %2")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    // Entries are bytes, one byte a character, whatever the terminal speaks.
    entries = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return true;
}

bool ArchiveCommand::RequireKnownTarget(const ProjectModel& project, CommandContext& context) const
{
    if (project.TargetProblem().isEmpty())
        return true;
    Fail(context, QStringLiteral("%1 Say which game the MOD is for with: carvestone-cli target %2 classic|remaster")
                      .arg(project.TargetProblem(), QDir::toNativeSeparators(project.Path())));
    return false;
}
