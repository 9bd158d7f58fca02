#pragma once

#include "ArchiveCommand.h"

// extract ARCHIVE NAME DEST: one file out of an archive or a folder of
// extracted game data.
class ExtractCommand : public ArchiveCommand
{
public:
    ExtractCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
