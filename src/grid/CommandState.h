#pragma once

// What a command target answers when asked about a command: whether the
// command can run now and whether its menu item shows a check mark.
struct CommandState
{
    bool enabled = false;
    bool checked = false;
};
