#pragma once

#include <QStringList>
#include <QTextStream>

class CarvestoneSettings;
class ProjectModel;

// The project verbs of carvestone-cli.  Each takes the words after the verb,
// writes results to out and failures (naming the file and the cause) to err,
// and answers the program's exit status: 0 on success.
class ProjectCommands
{
public:
    ProjectCommands(const CarvestoneSettings& settings, QTextStream& out, QTextStream& err);

    // new NAME [--mods DIR]
    int New(const QStringList& arguments);
    // entries PROJECT
    int Entries(const QStringList& arguments);
    // add PROJECT ENTRY...
    int Add(const QStringList& arguments);
    // remove PROJECT ENTRY...
    int Remove(const QStringList& arguments);

private:
    // Reads the project file; false (and the reason on err) when it cannot.
    bool Load(const QString& path, ProjectModel& project);
    int ChangeEntries(const QStringList& arguments, bool adding);

    const CarvestoneSettings& settings;
    QTextStream& out;
    QTextStream& err;
};
