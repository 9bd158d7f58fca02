#include "ScriptedDialogs.h"

#include <QDialog>

#include <optional>

#include <gtest/gtest.h>

namespace {

// The next queued answer; none, and a failed test, when the queue is empty.
template <typename Answer>
std::optional<Answer> TakeNext(std::deque<Answer>& answers, const char* question, const QString& text)
{
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << question << ": " << text.toStdString();
        return std::nullopt;
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

int ScriptedDialogs::Message(QWidget* owner, const QString& caption, const QString& text, int type)
{
    shownMessages.append({owner, caption, text, type});
    return TakeNext(messageAnswers, "message box", text).value_or(IdCancel);
}

QStringList ScriptedDialogs::NextFiles(const QString& caption)
{
    return TakeNext(fileAnswers, "file dialog", caption).value_or(QStringList());
}

int ScriptedDialogs::Exec(QDialog& dialog)
{
    const auto answer = TakeNext(dialogAnswers, "dialog", dialog.windowTitle());
    return answer ? (*answer)(dialog) : int(QDialog::Rejected);
}
