#pragma once

// Marks archive work as running for as long as an instance lives (a job in
// the child process, the Add File to MOD dialog).  The window reads IsBusy
// to disable every command that would start a second archive operation, and
// requests from the shell to open a project wait until it ends.
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
