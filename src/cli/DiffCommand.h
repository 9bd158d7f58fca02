#pragma once

#include "ChangesCommand.h"

// diff PROJECT [--game ARCHIVE] [--stat]: what the MOD changes against the
// game, one tab-separated line a change (or a table).
class DiffCommand : public ChangesCommand
{
public:
    DiffCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
