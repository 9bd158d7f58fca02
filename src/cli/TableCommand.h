#pragma once

#include "Command.h"

// table FILE [--resave OUT]: for MOD pipelines that check their tables; it
// loads a table with exactly the editor's code and says what a save from
// the editor would change.
class TableCommand : public Command
{
public:
    TableCommand();

protected:
    // Exit 0 when a save would give back the same bytes, 1 when it would
    // change them, 2 on wrong usage or a file that cannot be read (or OUT
    // that cannot be written).
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;
};
