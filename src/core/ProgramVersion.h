#pragma once

#include <QString>

// The program's version, from the one place the build states it.
class ProgramVersion
{
public:
    // "1.02"
    static QString Text();
};
