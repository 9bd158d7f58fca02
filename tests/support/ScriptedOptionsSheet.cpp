#include "ScriptedOptionsSheet.h"

#include <gtest/gtest.h>

ScriptedOptionsSheet::ScriptedOptionsSheet()
{
    OptionsSheetSeam::SetCurrent(this);
}

ScriptedOptionsSheet::~ScriptedOptionsSheet()
{
    OptionsSheetSeam::SetCurrent(nullptr);
}

bool ScriptedOptionsSheet::Edit(QWidget*, OptionsValues& values)
{
    shown.append(values);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected options sheet";
        return false;
    }
    auto answer = std::move(answers.front());
    answers.pop_front();
    return answer(values);
}
