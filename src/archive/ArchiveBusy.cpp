#include "ArchiveBusy.h"

int ArchiveBusy::running = 0;

ArchiveBusy::ArchiveBusy()
{
    ++running;
}

ArchiveBusy::~ArchiveBusy()
{
    --running;
}

bool ArchiveBusy::IsBusy()
{
    return running > 0;
}
