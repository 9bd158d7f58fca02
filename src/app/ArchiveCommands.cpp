#include "ArchiveCommands.h"

#include "CarvestoneSettings.h"
#include "archive/BuildLog.h"
#include "archive/ModBuilder.h"
#include "archive/ModInstaller.h"
#include "project/ProjectModel.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int UsageError = 2;

// Archive names are bytes, one byte a character; the terminal speaks the
// local encoding.
QString NameFromArgument(const QString& argument)
{
    return QString::fromLatin1(argument.toLocal8Bit());
}

QString NameForTerminal(const QString& name)
{
    return QString::fromLocal8Bit(name.toLatin1());
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The words of a verb: positional ones in order, and the values of the
// options it knows.  Anything else is a usage error.
struct ParsedArguments
{
    QStringList positional;
    QHash<QString, QString> values;
    QSet<QString> switches;
    QString unknown;
};

ParsedArguments Parse(const QStringList& arguments, const QStringList& valueOptions,
                      const QStringList& switchOptions)
{
    ParsedArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (valueOptions.contains(word) && i + 1 < arguments.size())
            parsed.values.insert(word, arguments[++i]);
        else if (switchOptions.contains(word))
            parsed.switches.insert(word);
        else if (word.startsWith(QLatin1String("--")) && parsed.unknown.isEmpty())
            parsed.unknown = word;
        else
            parsed.positional << word;
    }
    return parsed;
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
        out << NameForTerminal(text);
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
    err << verb << ": " << Shown(archive) << " is not a readable MPQ archive\n";
    return false;
}

int ArchiveCommands::List(const QStringList& arguments)
{
    const ParsedArguments parsed = Parse(arguments, {QStringLiteral("--listing")}, {});
    if (parsed.positional.size() != 1 || !parsed.unknown.isEmpty()) {
        err << "list: usage: list ARCHIVE [--listing FILE]\n";
        return UsageError;
    }
    const QString archive = parsed.positional[0];
    const QString listing = parsed.values.value(QStringLiteral("--listing"),
                                                settings.ProgramFolder + QLatin1String("AllFiles.txt"));
    if (!RequireLibrary("list") || !RequireArchive("list", archive))
        return Failure;
    QFile listingFile(listing);
    if (!listingFile.open(QIODevice::ReadOnly)) {
        err << "list: cannot read the listing file " << Shown(listing) << ": " << listingFile.errorString() << "\n";
        return Failure;
    }
    QStringList names;
    library.ReadListing(archive, listing, names, nullptr);
    for (const QString& name : names)
        out << NameForTerminal(name) << "\n";
    return Success;
}

int ArchiveCommands::Extract(const QStringList& arguments)
{
    const ParsedArguments parsed = Parse(arguments, {}, {});
    if (parsed.positional.size() != 3 || !parsed.unknown.isEmpty()) {
        err << "extract: usage: extract ARCHIVE NAME DEST\n";
        return UsageError;
    }
    const QString archive = parsed.positional[0];
    const QString name = NameFromArgument(parsed.positional[1]);
    const QString destination = parsed.positional[2];
    if (!RequireLibrary("extract") || !RequireArchive("extract", archive))
        return Failure;
    if (!library.ExtractFile(archive, name, destination, QFileInfo(destination).isDir())) {
        err << "extract: cannot extract " << parsed.positional[1] << " from " << Shown(archive) << " to "
            << Shown(destination)
            << " (the archive lacks it, it is empty, its name is no plain file name, or the target cannot be written)\n";
        return Failure;
    }
    return Success;
}

int ArchiveCommands::Build(const QStringList& arguments)
{
    const ParsedArguments parsed = Parse(arguments, {QStringLiteral("--game-mpq")},
                                         {QStringLiteral("--no-compression")});
    if (parsed.positional.size() != 1 || !parsed.unknown.isEmpty()) {
        err << "build: usage: build PROJECT [--game-mpq PATH] [--no-compression]\n";
        return UsageError;
    }
    if (!RequireLibrary("build")) {
        err << "build: nothing was built\n";
        return Failure;
    }
    ProjectModel project;
    QString error;
    if (!project.Load(parsed.positional[0], error)) {
        err << "build: " << error << "\n";
        return Failure;
    }
    ModBuilder::Request request;
    request.gameMpqPath = parsed.values.value(QStringLiteral("--game-mpq"), settings.GameMpqPath);
    request.archivePath = ModBuilder::ArchivePathFor(project.ProjectFolder(), project.Title());
    request.modFolder = project.ProjectFolder();
    request.entries = project.FileList();
    request.compress = settings.UseCompression && !parsed.switches.contains(QStringLiteral("--no-compression"));
    if (request.gameMpqPath.isEmpty()) {
        err << "build: no game archive: give --game-mpq PATH or choose one in Carvestone's options\n";
        return Failure;
    }
    if (request.archivePath.isEmpty()) {
        err << "build: the project's file name " << project.Title() << " has no \".\"\n";
        return Failure;
    }
    TerminalLog log(out);
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
    const ParsedArguments parsed = Parse(arguments, {QStringLiteral("--game-folder")}, {QStringLiteral("--yes")});
    if (parsed.positional.size() != 1 || !parsed.unknown.isEmpty()) {
        err << "install: usage: install PROJECT [--game-folder DIR] [--yes]\n";
        return UsageError;
    }
    const QString projectPath = QDir::fromNativeSeparators(parsed.positional[0]);
    const QString gameFolder = parsed.values.value(QStringLiteral("--game-folder"), settings.GameFolder);
    if (gameFolder.isEmpty()) {
        err << "install: the Diablo II folder is not known: give --game-folder DIR\n";
        return Failure;
    }
    const QString archive = ModInstaller::ModArchivePath(projectPath);
    if (!ModInstaller::CanInstall(gameFolder, projectPath)) {
        err << "install: " << Shown(projectPath) << " has no built MOD archive " << Shown(archive)
            << " (build it first; an untitled project cannot be installed)\n";
        return Failure;
    }
    if (!parsed.switches.contains(QStringLiteral("--yes")) && !Confirm(StringTable::Get(StringId::ConfirmInstall)))
        return Failure;
    QString error;
    if (!ModInstaller::Install(archive, gameFolder, error)) {
        err << "install: " << error << "\n";
        return Failure;
    }
    return Success;
}
