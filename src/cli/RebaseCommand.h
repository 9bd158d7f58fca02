#pragma once

#include "ChangesCommand.h"

class ModRebase;

// rebase PROJECT --onto ARCHIVE [--base ARCHIVE]: carries the MOD's table
// changes over to new game data.
class RebaseCommand : public ChangesCommand
{
public:
    static constexpr int Conflicts = 3;

    RebaseCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    // The archive that answers for tables without a kept original: --base,
    // else the game archive of the options unless that is the new data.
    static QString BaseArchive(const QCommandLineParser& parsed, const QString& onto, CommandContext& context);
    void Report(const ModRebase& rebase, const QString& onto, const QString& backup, CommandContext& context) const;
};
