#pragma once

#include "ui/UserDialogs.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>

// Answers the program's questions in place of a person.  A test queues the
// answers it expects to give; every question asked is recorded, and a
// question that finds no queued answer fails the test.  Installs itself for
// its lifetime.
class ScriptedDialogs : public UserDialogs
{
public:
    struct Shown { QWidget* owner; QString caption, text; int type; };

    ScriptedDialogs() { UserDialogs::SetCurrent(this); }
    ~ScriptedDialogs() override { UserDialogs::SetCurrent(nullptr); }

    void AnswerMessage(int id) { messageAnswers.push_back(id); }
    void AnswerFile(const QString& path) { fileAnswers.push_back(QStringList{path}); }
    void AnswerFiles(const QStringList& paths) { fileAnswers.push_back(paths); }
    // The function fills the dialog as a person would and answers
    // QDialog::Accepted or QDialog::Rejected.
    void AnswerDialog(std::function<int(QDialog&)> answer) { dialogAnswers.push_back(std::move(answer)); }

    const QList<Shown>& Messages() const { return shownMessages; }
    bool AllAnswersUsed() const { return messageAnswers.empty() && fileAnswers.empty() && dialogAnswers.empty(); }

    int Message(QWidget* owner, const QString& caption, const QString& text, int type) override;
    QString OpenFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return NextFiles(caption).value(0);
    }
    QStringList OpenFileNames(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return NextFiles(caption);
    }
    QString SaveFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return NextFiles(caption).value(0);
    }
    QString ExistingFolder(QWidget*, const QString& caption, const QString&) override
    {
        return NextFiles(caption).value(0);
    }
    int Exec(QDialog& dialog) override;
    // Records the address instead of starting a browser.
    void OpenUrl(const QUrl& url) override { openedUrls.append(url); }
    const QList<QUrl>& OpenedUrls() const { return openedUrls; }

private:
    QStringList NextFiles(const QString& caption);

    std::deque<int> messageAnswers;
    std::deque<QStringList> fileAnswers;
    std::deque<std::function<int(QDialog&)>> dialogAnswers;
    QList<Shown> shownMessages;
    QList<QUrl> openedUrls;
};
