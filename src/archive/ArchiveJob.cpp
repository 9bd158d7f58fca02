#include "ArchiveJob.h"

#include "MachineChannel.h"
#include "core/TerminalText.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct ProgramOverride
{
    QString program;
    QStringList leadingArguments;
};

ProgramOverride& Override()
{
    static ProgramOverride programOverride;
    return programOverride;
}

QString CliProgram(const QString& programFolder)
{
#ifdef Q_OS_WIN
    return QDir(programFolder).filePath(QStringLiteral("carvestone-cli.exe"));
#else
    return QDir(programFolder).filePath(QStringLiteral("carvestone-cli"));
#endif
}

} // namespace

ArchiveJob::ArchiveJob(const QString& programFolder, QObject* parent)
    : QObject(parent)
    , program(CliProgram(programFolder))
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&process, &QProcess::readyReadStandardOutput, this, &ArchiveJob::ReadLines);
    connect(&process, &QProcess::finished, this, &ArchiveJob::OnProcessFinished);
    connect(&process, &QProcess::errorOccurred, this, &ArchiveJob::OnProcessError);
}

ArchiveJob::~ArchiveJob()
{
    process.disconnect(this);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(2000);
    }
}

QString ArchiveJob::DiedMessage()
{
    return QStringLiteral("the archive work stopped unexpectedly (the archive may be damaged)");
}

void ArchiveJob::OverrideProgram(const QString& program, const QStringList& leadingArguments)
{
    Override() = {program, leadingArguments};
}

ArchiveListingCache& ArchiveJob::Listings()
{
    static ArchiveListingCache listings;
    return listings;
}

void ArchiveJob::StartListing(const QString& archivePath, const QString& listingPath)
{
    listedArchive = archivePath;
    Start({QStringLiteral("list"), archivePath, QStringLiteral("--listing"), listingPath});
}

void ArchiveJob::StartExtraction(const QString& archivePath, const QString& archiveName, const QString& destination)
{
    Start({QStringLiteral("extract"), archivePath, TerminalText::NameForTerminal(archiveName), destination});
}

void ArchiveJob::StartExtractions(const QString& archivePath, const QStringList& archiveNames, const QString& folder)
{
    QStringList arguments{QStringLiteral("extract"), QStringLiteral("--missing-ok"), archivePath};
    for (const QString& name : archiveNames)
        arguments.append(TerminalText::NameForTerminal(name));
    Start(arguments << folder);
}

void ArchiveJob::StartBuild(const ModBuilder::Request& request)
{
    // The project as it is in memory, saved or not.
    entriesFile.emplace(QDir::tempPath() + QLatin1String("/carvestone-entries-XXXXXX"));
    const QByteArray entries = request.entries.join(QLatin1Char('\n')).toLatin1() + '\n';
    if (!entriesFile->open() || entriesFile->write(entries) != entries.size() || !entriesFile->flush()) {
        busy.emplace();
        result = Result::Running;
        Finish(Result::Failed, QStringLiteral("Cannot write the list of files to build into %1: %2")
                                   .arg(QDir::toNativeSeparators(entriesFile->fileName()), entriesFile->errorString()));
        return;
    }
    if (request.target == BuildTarget::RemasterModFolder) {
        QStringList arguments{QStringLiteral("build-mod-folder"), request.archivePath, request.modFolder,
                              entriesFile->fileName()};
        if (!request.gameDataPath.isEmpty())
            arguments << QStringLiteral("--game-data") << request.gameDataPath;
        Start(arguments);
        return;
    }
    QStringList arguments{QStringLiteral("build-files"), request.gameMpqPath, request.archivePath, request.modFolder,
                          entriesFile->fileName()};
    if (!request.compress)
        arguments << QStringLiteral("--no-compression");
    // The listing file lets the library name what a game archive keeps no
    // names for, so that replacing such a file works.
    if (!request.listingPath.isEmpty())
        arguments << QStringLiteral("--listing") << request.listingPath;
    Start(arguments);
}

void ArchiveJob::Start(const QStringList& arguments)
{
    names.clear();
    message.clear();
    pending.clear();
    doneStatus.reset();
    busy.emplace();
    result = Result::Running;
    const ProgramOverride& replacement = Override();
    const bool replaced = !replacement.program.isEmpty();
    process.start(replaced ? replacement.program : program,
                  (replaced ? replacement.leadingArguments : QStringList()) + QStringList{QStringLiteral("--machine")}
                      + arguments);
    process.closeWriteChannel();
}

void ArchiveJob::ReadLines()
{
    pending += process.readAllStandardOutput();
    qsizetype start = 0;
    for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n', start)) {
        HandleLine(pending.mid(start, end - start));
        start = end + 1;
    }
    pending.remove(0, start);
}

void ArchiveJob::HandleLine(const QByteArray& line)
{
    const qsizetype space = line.indexOf(' ');
    const QByteArray event = line.left(space);
    const QByteArray text = space < 0 ? QByteArray() : line.mid(space + 1);
    if (event == "name") {
        names.append(QString::fromLatin1(text));
    } else if (event == "log") {
        Q_EMIT LogAppended(MachineChannel::Unescape(text));
    } else if (event == "progress") {
        Q_EMIT PositionChanged(text.toInt());
    } else if (event == "range") {
        const QList<QByteArray> bounds = text.split(' ');
        Q_EMIT RangeChanged(bounds.value(0).toInt(), bounds.value(1).toInt());
    } else if (event == "error") {
        message += (message.isEmpty() ? QString() : QStringLiteral("\n")) + MachineChannel::Unescape(text).trimmed();
    } else if (event == "done") {
        doneStatus = text.toInt();
    }
}

void ArchiveJob::OnProcessFinished(int, QProcess::ExitStatus status)
{
    ReadLines();
    if (status != QProcess::NormalExit || !doneStatus)
        Finish(Result::Died, DiedMessage());
    else if (*doneStatus != 0)
        Finish(Result::Failed, message.isEmpty() ? QStringLiteral("the archive work failed") : message);
    else
        Finish(Result::Succeeded, {});
}

void ArchiveJob::OnProcessError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    const QString shown = QDir::toNativeSeparators(process.program());
    Finish(Result::Failed, QFileInfo::exists(shown)
                               ? QStringLiteral("%1 cannot be started: %2").arg(shown, process.errorString())
                               : QStringLiteral("%1 is missing; reinstall Carvestone").arg(shown));
}

void ArchiveJob::Finish(Result outcome, const QString& why)
{
    if (result != Result::Running)
        return;
    if (outcome == Result::Succeeded && !listedArchive.isEmpty())
        Listings().Store(listedArchive, names);
    listedArchive.clear();
    result = outcome;
    message = why;
    busy.reset();
    Q_EMIT Finished();
}
