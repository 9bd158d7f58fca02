#pragma once

#include "Command.h"

#include <memory>
#include <vector>

// carvestone-cli as a whole: its verbs, the help and version answers, and
// the dispatch of the words after the program's name to one verb.
class CarvestoneCli
{
public:
    CarvestoneCli();
    ~CarvestoneCli();

    // The words after the program's name; answers the exit status.
    int Run(const QStringList& arguments, CommandContext& context);
    // The usage of every verb, ending with a newline.
    QString Usage() const;

private:
    Command* Find(const QString& name) const;
    int RunHelp(const QStringList& arguments, CommandContext& context) const;

    std::vector<std::unique_ptr<Command>> commands;
};
