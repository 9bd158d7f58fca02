#pragma once

#include "ProjectCommand.h"

// target PROJECT [classic|remaster]: prints which game the MOD is built
// for, or records it, as the options sheet does.
class TargetCommand : public ProjectCommand
{
public:
    TargetCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
