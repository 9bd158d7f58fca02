#include "UserDialogs.h"

#include "QtUserDialogs.h"

namespace {
UserDialogs* installed = nullptr;
}

UserDialogs& UserDialogs::Current()
{
    static QtUserDialogs real;
    return installed ? *installed : real;
}

void UserDialogs::SetCurrent(UserDialogs* dialogs)
{
    installed = dialogs;
}
