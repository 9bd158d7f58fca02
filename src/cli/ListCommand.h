#pragma once

#include "ArchiveCommand.h"

// list ARCHIVE [--listing FILE]: the names of the listing file that the
// archive holds.
class ListCommand : public ArchiveCommand
{
public:
    ListCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
