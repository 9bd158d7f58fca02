#include "ArchiveCommands.h"

#include "CliArguments.h"
#include "archive/BuildLog.h"
#include "archive/MachineChannel.h"
#include "archive/ModBuilder.h"
#include "archive/ModInstaller.h"
#include "archive/MpqHeaderCheck.h"
#include "core/CarvestoneSettings.h"
#include "core/FileErrorText.h"
#include "core/StringTable.h"
#include "core/TerminalText.h"
#include "model/ProjectModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

constexpr int Success = CliArguments::Success;
constexpr int Failure = CliArguments::Failure;
constexpr int UsageError = CliArguments::UsageError;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

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

} // namespace

ArchiveCommands::ArchiveCommands(const CarvestoneSettings& settings, QTextStream& in, QTextStream& out,
                                 QTextStream& err)
    : settings(settings)
    , in(in)
    , out(out)
    , err(err)
{
}

bool ArchiveCommands::RequireLibrary(const char* verb)
{
    if (library.IsAvailable())
        return true;
    err << verb << ": the archive library " << MpqLibrary::LibraryName()
        << " cannot be loaded (set CARVESTONE_MPQ_LIBRARY to StormLib's path)\n";
    return false;
}

bool ArchiveCommands::RequireArchive(const char* verb, const QString& archive)
{
    if (library.CanOpenArchive(archive))
        return true;
    const QString cause = QFileInfo(archive).isFile() ? MpqHeaderCheck::DamagedMessage(archive)
                                                      : FileErrorText::ForErrno(ENOENT, archive);
    err << verb << ": " << cause << "\n";
    return false;
}

int ArchiveCommands::List(const QStringList& arguments)
{
    const CliArguments parsed(arguments, {QStringLiteral("--listing")});
    if (!parsed.Fits(1)) {
        err << "list: usage: list ARCHIVE [--listing FILE]\n";
        return UsageError;
    }
    const QString archive = parsed.Positional()[0];
    const QString listing =
        parsed.Value(QStringLiteral("--listing"), settings.ListingFilePath());
    if (!RequireLibrary("list") || !RequireArchive("list", archive))
        return Failure;
    QFile listingFile(listing);
    if (!listingFile.open(QIODevice::ReadOnly)) {
        err << "list: cannot read the listing file " << Shown(listing) << ": " << listingFile.errorString() << "\n";
        return Failure;
    }
    QStringList names;
    library.ReadListing(archive, listing, names, machine);
    for (const QString& name : names) {
        if (machine)
            machine->Name(name);
        else
            out << TerminalText::NameForTerminal(name) << "\n";
    }
    return Success;
}

int ArchiveCommands::Extract(const QStringList& arguments)
{
    const CliArguments parsed(arguments, {});
    if (!parsed.Fits(3)) {
        err << "extract: usage: extract ARCHIVE NAME DEST\n";
        return UsageError;
    }
    const QString archive = parsed.Positional()[0];
    const QString name = TerminalText::NameFromTerminal(parsed.Positional()[1]);
    const QString destination = parsed.Positional()[2];
    if (!RequireLibrary("extract") || !RequireArchive("extract", archive))
        return Failure;
    QString error;
    if (!library.ExtractFile(archive, name, destination, QFileInfo(destination).isDir(), &error)) {
        err << "extract: cannot extract " << parsed.Positional()[1] << ": " << TerminalText::NameForTerminal(error)
            << "\n";
        return Failure;
    }
    return Success;
}

int ArchiveCommands::Build(const QStringList& arguments)
{
    const CliArguments parsed(arguments, {QStringLiteral("--game-mpq")}, {QStringLiteral("--no-compression")});
    if (!parsed.Fits(1)) {
        err << "build: usage: build PROJECT [--game-mpq PATH] [--no-compression]\n";
        return UsageError;
    }
    if (!RequireLibrary("build")) {
        err << "build: nothing was built\n";
        return Failure;
    }
    ProjectModel project;
    QString error;
    if (!project.Load(parsed.Positional()[0], error)) {
        err << "build: " << error << "\n";
        return Failure;
    }
    ModBuilder::Request request;
    request.gameMpqPath = parsed.Value(QStringLiteral("--game-mpq"), settings.GameMpqPath);
    request.archivePath = ModBuilder::ArchivePathFor(project.ProjectFolder(), project.Title());
    request.modFolder = project.ProjectFolder();
    request.entries = project.FileList();
    request.compress = settings.UseCompression && !parsed.Has(QStringLiteral("--no-compression"));
    request.listingPath = settings.ListingFilePath();
    if (request.gameMpqPath.isEmpty()) {
        err << "build: no game archive: give --game-mpq PATH or choose one in Carvestone's options\n";
        return Failure;
    }
    if (request.archivePath.isEmpty()) {
        err << "build: the project's file name " << project.Title() << " has no \".\"\n";
        return Failure;
    }
    return RunBuild(request);
}

int ArchiveCommands::RunBuild(const ModBuilder::Request& request)
{
    TerminalLog terminal(out);
    BuildLog& log = machine ? static_cast<BuildLog&>(*machine) : terminal;
    const BuildOutcome outcome = ModBuilder::Build(library, request, log);
    if (outcome == BuildOutcome::AllAdded)
        return Success;
    err << "build: " << (outcome == BuildOutcome::NotRun ? "the MOD archive was not built" : "some files were not added")
        << "\n";
    return Failure;
}

bool ArchiveCommands::Confirm(const QString& question)
{
    out << question << "\n[y/N] ";
    out.flush();
    const QString answer = in.readLine().trimmed();
    return answer.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0
        || answer.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
}

int ArchiveCommands::Install(const QStringList& arguments)
{
    const CliArguments parsed(arguments, {QStringLiteral("--game-folder")}, {QStringLiteral("--yes")});
    if (!parsed.Fits(1)) {
        err << "install: usage: install PROJECT [--game-folder DIR] [--yes]\n";
        return UsageError;
    }
    const QString projectPath = QDir::fromNativeSeparators(parsed.Positional()[0]);
    const QString gameFolder = parsed.Value(QStringLiteral("--game-folder"), settings.GameFolder);
    if (gameFolder.isEmpty()) {
        err << "install: the Diablo II folder is not known: give --game-folder DIR\n";
        return Failure;
    }
    const QString archive = ModBuilder::ArchivePathForProject(projectPath);
    if (!ModInstaller::CanInstall(gameFolder, projectPath)) {
        err << "install: " << Shown(projectPath) << " has no built MOD archive " << Shown(archive)
            << " (build it first; an untitled project cannot be installed)\n";
        return Failure;
    }
    if (!parsed.Has(QStringLiteral("--yes")) && !Confirm(StringTable::Get(StringId::ConfirmInstall))) {
        err << "install: not confirmed; nothing was installed\n";
        return Failure;
    }
    QString error;
    if (!ModInstaller::Install(archive, gameFolder, error)) {
        err << "install: " << error << "\n";
        return Failure;
    }
    return Success;
}

int ArchiveCommands::BuildFiles(const QStringList& arguments)
{
    const CliArguments parsed(arguments, {QStringLiteral("--listing")}, {QStringLiteral("--no-compression")});
    if (!parsed.Fits(4)) {
        err << "build-files: usage: build-files GAME-MPQ ARCHIVE MOD-FOLDER ENTRIES-FILE [--no-compression] "
               "[--listing FILE]\n";
        return UsageError;
    }
    if (!RequireLibrary("build")) {
        err << "build: nothing was built\n";
        return Failure;
    }
    ModBuilder::Request request;
    request.gameMpqPath = parsed.Positional()[0];
    request.archivePath = parsed.Positional()[1];
    request.modFolder = parsed.Positional()[2];
    request.compress = !parsed.Has(QStringLiteral("--no-compression"));
    request.listingPath = parsed.Value(QStringLiteral("--listing"), settings.ListingFilePath());
    QFile entries(parsed.Positional()[3]);
    if (!entries.open(QIODevice::ReadOnly)) {
        err << "build: cannot read the list of entries " << Shown(entries.fileName()) << ": " << entries.errorString()
            << "\n";
        return Failure;
    }
    // Entries are bytes, one byte a character, whatever the terminal speaks.
    request.entries = QString::fromLatin1(entries.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return RunBuild(request);
}
