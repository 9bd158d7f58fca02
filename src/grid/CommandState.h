#pragma once

#include <QString>

// What a command target answers when asked about a command: whether the
// command can run now and whether its menu item shows a check mark.
struct CommandState
{
    bool enabled = false;
    bool checked = false;
    // The menu text when it names what the command would do now ("&Undo
    // Paste"); empty keeps the text of the command table.
    QString text;
    // For a disabled command, what it lacks ("the MOD has not been built
    // yet"): added to its prompt and tooltip so a grey item says why.
    QString whyDisabled;
};
