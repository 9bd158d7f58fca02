#pragma once

#include "ArchiveCommand.h"

// build-mod-folder FOLDER MOD-FOLDER ENTRIES-FILE [--game-data DIR]: the
// window's build of a remaster project as it is in memory, saved or not.
class BuildModFolderCommand : public ArchiveCommand
{
public:
    BuildModFolderCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
