#pragma once

#include "ArchiveCommand.h"

// build-files GAME-MPQ ARCHIVE MOD-FOLDER ENTRIES-FILE: the window's build
// of its project as it is in memory, saved or not.
class BuildFilesCommand : public ArchiveCommand
{
public:
    BuildFilesCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
