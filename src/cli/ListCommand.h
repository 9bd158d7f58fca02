#pragma once

#include "ArchiveCommand.h"

// list ARCHIVE [--listing FILE]: the names of the listing file that the
// archive holds, or every file's name in a folder of extracted game data.
class ListCommand : public ArchiveCommand
{
public:
    ListCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    int ListFolder(const QString& folder, CommandContext& context) const;
    static void Print(const QStringList& names, CommandContext& context);
};
