#pragma once

#include "Command.h"

// new NAME [--mods DIR] [--remaster]: makes a MOD project as the New
// command does.
class NewCommand : public Command
{
public:
    NewCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
