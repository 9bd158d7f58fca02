#pragma once

#include "ArchiveCommand.h"

// install PROJECT [--game-folder DIR] [--yes]: the built MOD archive
// becomes the game's patch archive, as the Install command does it.
class InstallCommand : public ArchiveCommand
{
public:
    InstallCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    static bool Confirm(const QString& question, CommandContext& context);
};
