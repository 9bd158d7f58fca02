#pragma once

// Marks an archive operation as running for as long as an instance lives.
// Operations pump window events while they work; the window reads IsBusy to
// disable every command that would start a second archive operation then.
class ArchiveBusy
{
public:
    ArchiveBusy();
    ~ArchiveBusy();
    ArchiveBusy(const ArchiveBusy&) = delete;
    ArchiveBusy& operator=(const ArchiveBusy&) = delete;

    static bool IsBusy();

private:
    static int running;
};
