#pragma once

#include "ArchiveBusy.h"
#include "ArchiveListingCache.h"
#include "ModBuilder.h"

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

#include <optional>

// Runs one piece of the window's archive work (a listing, an extraction, a
// build; from an archive or a folder of extracted game data, for either
// game) in carvestone-cli --machine, beside the running program, and turns
// its lines (see MachineChannel) into signals.  Whatever a damaged archive
// does to StormLib happens in the child: the window only learns that the
// work failed.  The window never waits inside the work; it reacts to
// Finished.  While a job runs, ArchiveBusy holds.
class ArchiveJob : public QObject
{
    Q_OBJECT

public:
    enum class Result { NotStarted, Running, Succeeded, Failed, Died };

    explicit ArchiveJob(const QString& programFolder, QObject* parent = nullptr);
    ~ArchiveJob() override;

    // The message of a child that ended without saying it was done.
    static QString DiedMessage();
    // Tests put another program (and its first arguments) in the place of
    // carvestone-cli; an empty program brings carvestone-cli back.
    static void OverrideProgram(const QString& program, const QStringList& leadingArguments = {});
    // The complete listings of this run, keyed by archive path (case matters).
    static ArchiveListingCache& Listings();

    void StartListing(const QString& archivePath, const QString& listingPath);
    void StartExtraction(const QString& archivePath, const QString& archiveName, const QString& destination);
    // Extracts those of the names that the archive holds into the folder;
    // Names() then lists the ones extracted.
    void StartExtractions(const QString& archivePath, const QStringList& archiveNames, const QString& folder);
    void StartBuild(const ModBuilder::Request& request);

    Result GetResult() const { return result; }
    bool IsRunning() const { return result == Result::Running; }
    // Why the work failed, in words for the user; empty on success.
    const QString& Message() const { return message; }
    // The names a listing found, in the listing file's order, or the names
    // that several extractions extracted.
    const QStringList& Names() const { return names; }

Q_SIGNALS:
    void RangeChanged(int minimum, int maximum);
    void PositionChanged(int position);
    void LogAppended(const QString& text);
    void Finished();

private:
    void Start(const QStringList& arguments);
    void ReadLines();
    void HandleLine(const QByteArray& line);
    void OnProcessFinished(int exitCode, QProcess::ExitStatus status);
    void OnProcessError(QProcess::ProcessError error);
    void Finish(Result outcome, const QString& why);

    QString program;
    QProcess process;
    QByteArray pending;
    QStringList names;
    QString message;
    QString listedArchive;
    std::optional<int> doneStatus;
    std::optional<ArchiveBusy> busy;
    std::optional<QTemporaryFile> entriesFile;
    Result result = Result::NotStarted;
};
