#pragma once

#include "grid/CommandState.h"

// Anything a command can be routed to: the active view, the document, the
// main window and the application.  Both answer false for a command that is
// not theirs, so that the next target is asked.
class CommandTarget
{
public:
    virtual bool OnCommand(int id) = 0;
    virtual bool OnUpdateCommand(int id, CommandState& state) = 0;

protected:
    ~CommandTarget() = default;
};
