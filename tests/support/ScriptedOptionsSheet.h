#pragma once

#include "options/OptionsSheetSeam.h"

#include <QList>

#include <deque>
#include <functional>

#include <gtest/gtest.h>

// Answers the options sheet in place of a person: each queued answer sees
// the values the sheet was filled with, may edit them, and answers true for
// OK.  Records what the sheet was filled with; a sheet that finds no queued
// answer fails the test.  Installs itself for its lifetime.
class ScriptedOptionsSheet : public OptionsSheetSeam
{
public:
    ScriptedOptionsSheet() { OptionsSheetSeam::SetCurrent(this); }
    ~ScriptedOptionsSheet() override { OptionsSheetSeam::SetCurrent(nullptr); }

    void Answer(std::function<bool(OptionsValues&)> answer) { answers.push_back(std::move(answer)); }
    const QList<OptionsValues>& Shown() const { return shown; }

    bool Edit(QWidget*, OptionsValues& values) override
    {
        shown.append(values);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected options sheet";
            return false;
        }
        const auto answer = std::move(answers.front());
        answers.pop_front();
        return answer(values);
    }

private:
    std::deque<std::function<bool(OptionsValues&)>> answers;
    QList<OptionsValues> shown;
};
