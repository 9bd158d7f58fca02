#pragma once

#include <QString>

// Archive names and MOD entries are bytes, one byte a character; a command
// line and a terminal speak the local encoding.  Every name that crosses a
// command line (the user's, or the one the window hands its child process)
// is converted here, both ways.
class TerminalText
{
public:
    static QString NameFromTerminal(const QString& argument);
    static QString NameForTerminal(const QString& name);
};
