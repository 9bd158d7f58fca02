#pragma once

#include "ArchiveCommand.h"

// install PROJECT [--game-folder DIR] [--yes]: the built MOD goes into its
// game, as the Install command puts it there.
class InstallCommand : public ArchiveCommand
{
public:
    InstallCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    static bool Confirm(const QString& question, CommandContext& context);
    int InstallRemaster(const QCommandLineParser& parsed, const QString& projectPath, CommandContext& context);
};
