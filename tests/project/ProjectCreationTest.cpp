#include "project/ProjectCreation.h"

#include <gtest/gtest.h>

namespace {

TEST(ProjectCreation, NamesWithAnyListedCharacterAreRefusedAndNothingElseIsChecked)
{
    for (const char* name : {"My.Mod", "a/b", "it's", "say \"hi\"", "a\\b", "what?", "star*"})
        EXPECT_FALSE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;
    for (const char* name : {"Test", "", "  spaced  ", "Mod-2 (final)"})
        EXPECT_TRUE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;
}

} // namespace
