#pragma once

#include "ArchiveCommand.h"

// build PROJECT [--game-mpq PATH] [--no-compression]: the MOD archive, as
// the Build command makes it.
class BuildCommand : public ArchiveCommand
{
public:
    BuildCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
