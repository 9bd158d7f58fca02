#pragma once

#include "ArchiveCommand.h"

class ProjectModel;

// build PROJECT [--game-mpq PATH] [--game-data DIR] [--no-compression]: the
// project's build for its game, as the Build command makes it.
class BuildCommand : public ArchiveCommand
{
public:
    BuildCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    int BuildClassic(const QCommandLineParser& parsed, const ProjectModel& project, CommandContext& context) const;
    int BuildRemaster(const QCommandLineParser& parsed, const ProjectModel& project, CommandContext& context) const;
};
