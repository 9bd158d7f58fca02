#include "ArchiveCommands.h"
#include "CarvestoneSettings.h"
#include "GameInstallation.h"
#include "ProjectCommands.h"
#include "TableCommands.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

struct Verb
{
    const char* name;
    const char* usage;
    std::function<int(const QStringList&)> run;
};

void PrintUsage(QTextStream& err, const QList<Verb>& verbs)
{
    err << "usage: carvestone-cli VERB ARGUMENTS...\n";
    for (const Verb& verb : verbs)
        err << "  " << verb.usage << "\n";
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

    ProjectCommands project(settings, out, err);
    QTextStream in(stdin);
    ArchiveCommands archives(settings, in, out, err);
    TableCommands tables(out, err);
    const QList<Verb> verbs = {
        {"new", "new NAME [--mods DIR]", [&](const QStringList& a) { return project.New(a); }},
        {"entries", "entries PROJECT", [&](const QStringList& a) { return project.Entries(a); }},
        {"add", "add PROJECT ENTRY...", [&](const QStringList& a) { return project.Add(a); }},
        {"remove", "remove PROJECT ENTRY...", [&](const QStringList& a) { return project.Remove(a); }},
        {"list", "list ARCHIVE [--listing FILE]", [&](const QStringList& a) { return archives.List(a); }},
        {"extract", "extract ARCHIVE NAME DEST", [&](const QStringList& a) { return archives.Extract(a); }},
        {"build", "build PROJECT [--game-mpq PATH] [--no-compression]",
         [&](const QStringList& a) { return archives.Build(a); }},
        {"install", "install PROJECT [--game-folder DIR] [--yes]",
         [&](const QStringList& a) { return archives.Install(a); }},
        {"table", "table FILE [--resave OUT]", [&](const QStringList& a) { return tables.Check(a); }},
    };

    const QStringList arguments = QCoreApplication::arguments().mid(1);
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
