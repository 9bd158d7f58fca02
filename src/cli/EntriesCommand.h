#pragma once

#include "ProjectCommand.h"

// entries PROJECT: prints the project's MOD entries, one a line.
class EntriesCommand : public ProjectCommand
{
public:
    EntriesCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
