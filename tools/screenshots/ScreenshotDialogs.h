#pragma once

#include "ui/UserDialogs.h"

#include <QString>

#include <deque>
#include <functional>

// Plays the person in front of the program while the screenshots are made:
// each modal dialog is handed to the next queued step, which shows it,
// works in it, takes its picture and closes it, and each message box gets
// the next queued answer.  Nothing else is expected to ask anything; a
// question that comes anyway is printed and cancelled, so a change in the
// program shows up in the output instead of hanging.
// Installs itself for its lifetime.
class ScreenshotDialogs : public UserDialogs
{
public:
    using Step = std::function<int(QDialog&)>;

    ScreenshotDialogs() { UserDialogs::SetCurrent(this); }
    ~ScreenshotDialogs() override { UserDialogs::SetCurrent(nullptr); }

    void Then(Step step) { steps.push_back(std::move(step)); }
    // The answers to the next message box and the next file chooser.
    void AnswerMessage(int answer) { messageAnswers.push_back(answer); }
    void AnswerFile(const QString& path) { fileAnswers.push_back(path); }
    bool AllStepsTaken() const { return steps.empty() && messageAnswers.empty() && fileAnswers.empty(); }
    int Unexpected() const { return unexpected; }

    int Message(QWidget* owner, const QString& caption, const QString& text, int type) override;
    QString OpenFileName(QWidget*, const QString& caption, const QString&, const QString&) override;
    QStringList OpenFileNames(QWidget*, const QString& caption, const QString&, const QString&) override;
    QString SaveFileName(QWidget*, const QString& caption, const QString&, const QString&) override;
    QString ExistingFolder(QWidget*, const QString& caption, const QString&) override;
    int Exec(QDialog& dialog) override;
    void OpenUrl(const QUrl&) override {}

private:
    void Report(const char* what, const QString& text);

    std::deque<Step> steps;
    std::deque<int> messageAnswers;
    std::deque<QString> fileAnswers;
    int unexpected = 0;
};
