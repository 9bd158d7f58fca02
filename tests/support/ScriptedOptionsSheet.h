#pragma once

#include "options/OptionsSheetSeam.h"

#include <QList>

#include <deque>
#include <functional>

// Answers the options sheet in place of a person: each queued answer sees
// the values the sheet was filled with, may edit them, and answers true for
// OK.  Records what the sheet was filled with; a sheet that finds no queued
// answer fails the test.  Installs itself for its lifetime.
class ScriptedOptionsSheet : public OptionsSheetSeam
{
public:
    ScriptedOptionsSheet();
    ~ScriptedOptionsSheet() override;

    void Answer(std::function<bool(OptionsValues&)> answer) { answers.push_back(std::move(answer)); }
    const QList<OptionsValues>& Shown() const { return shown; }

    bool Edit(QWidget* owner, OptionsValues& values) override;

private:
    std::deque<std::function<bool(OptionsValues&)>> answers;
    QList<OptionsValues> shown;
};
