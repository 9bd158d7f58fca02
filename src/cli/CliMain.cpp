#include "ArchiveCommands.h"
#include "ProjectCommands.h"
#include "TableCommands.h"
#include "archive/MachineChannel.h"
#include "core/CarvestoneSettings.h"
#include "core/GameInstallation.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTextStream>

#include <cstdio>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

struct Verb
{
    const char* name;
    const char* usage;
    std::function<int(const QStringList&)> run;
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

// With --machine, the window reads the child's stdout as protocol lines, so
// a failure's words travel there too, after the work and before "done".
int RunForMachine(const std::function<int(MachineChannel&, QTextStream&)>& run)
{
    MachineChannel channel(stdout);
    QString errors;
    QTextStream err(&errors);
    const int status = run(channel, err);
    err.flush();
    if (!errors.isEmpty())
        channel.Error(errors);
    channel.Done(status);
    return status;
}

void PrintUsage(QTextStream& err, const QList<Verb>& verbs)
{
    err << "usage: carvestone-cli VERB ARGUMENTS...\n";
    for (const Verb& verb : verbs)
        err << "  " << verb.usage << "\n";
}

int RunVerb(const CarvestoneSettings& settings, const QStringList& arguments, QTextStream& out, QTextStream& err,
            MachineChannel* machine)
{
    ProjectCommands project(settings, out, err);
    QTextStream in(stdin);
    ArchiveCommands archives(settings, in, out, err);
    archives.SetMachineChannel(machine);
    TableCommands tables(out, err);
    const auto archiveWork = [&archives](int (ArchiveCommands::*verb)(const QStringList&)) {
        return [&archives, verb](const QStringList& a) {
            LimitMemoryForArchiveWork();
            return (archives.*verb)(a);
        };
    };
    const QList<Verb> verbs = {
        {"new", "new NAME [--mods DIR]", [&](const QStringList& a) { return project.New(a); }},
        {"entries", "entries PROJECT", [&](const QStringList& a) { return project.Entries(a); }},
        {"add", "add PROJECT ENTRY...", [&](const QStringList& a) { return project.Add(a); }},
        {"remove", "remove PROJECT ENTRY...", [&](const QStringList& a) { return project.Remove(a); }},
        {"list", "list ARCHIVE [--listing FILE]", archiveWork(&ArchiveCommands::List)},
        {"extract", "extract ARCHIVE NAME DEST", archiveWork(&ArchiveCommands::Extract)},
        {"build", "build PROJECT [--game-mpq PATH] [--no-compression]", archiveWork(&ArchiveCommands::Build)},
        {"install", "install PROJECT [--game-folder DIR] [--yes]",
         [&](const QStringList& a) { return archives.Install(a); }},
        {"build-files", "build-files GAME-MPQ ARCHIVE MOD-FOLDER ENTRIES-FILE [--no-compression] [--listing FILE]",
         archiveWork(&ArchiveCommands::BuildFiles)},
        {"table", "table FILE [--resave OUT]", [&](const QStringList& a) { return tables.Check(a); }},
    };

    const QString verbName = arguments.value(0);
    for (const Verb& verb : verbs) {
        if (verbName == QLatin1String(verb.name))
            return verb.run(arguments.mid(1));
    }
    if (!verbName.isEmpty())
        err << "carvestone-cli: unknown verb " << verbName << "\n";
    PrintUsage(err, verbs);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Read only: the command line never writes the settings.
    CarvestoneSettings settings;
    settings.Load(*CarvestoneSettings::OpenStore(), GameInstallation::FindFolder(),
                  QCoreApplication::applicationDirPath());

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.value(0) == QLatin1String("--machine"))
        return RunForMachine([&](MachineChannel& channel, QTextStream& errors) {
            return RunVerb(settings, arguments.mid(1), out, errors, &channel);
        });
    return RunVerb(settings, arguments, out, err, nullptr);
}

