#pragma once

#include <QTextStream>

class CarvestoneSettings;
class MachineChannel;
class MpqLibrary;

// What every verb works with: the settings (only read), the terminal's
// streams, the one archive library binding of the run and, with --machine,
// the channel the window reads.
struct CommandContext
{
    const CarvestoneSettings& settings;
    QTextStream& in;
    QTextStream& out;
    QTextStream& err;
    MpqLibrary& library;
    MachineChannel* machine = nullptr;
};
