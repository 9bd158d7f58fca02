#include "ScriptedDialogs.h"

#include <QDialog>

#include <gtest/gtest.h>

ScriptedDialogs::ScriptedDialogs()
{
    UserDialogs::SetCurrent(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    UserDialogs::SetCurrent(nullptr);
}

bool ScriptedDialogs::AllAnswersUsed() const
{
    return messageAnswers.empty() && fileAnswers.empty() && dialogAnswers.empty();
}

int ScriptedDialogs::Message(QWidget* owner, const QString& caption, const QString& text, int type)
{
    shownMessages.append({owner, caption, text, type});
    if (messageAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << text.toStdString();
        return IdCancel;
    }
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

QStringList ScriptedDialogs::NextFiles(const QString& caption)
{
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << caption.toStdString();
        return {};
    }
    QStringList answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::OpenFileName(QWidget*, const QString& caption, const QString&, const QString&)
{
    return NextFiles(caption).value(0);
}

QStringList ScriptedDialogs::OpenFileNames(QWidget*, const QString& caption, const QString&, const QString&)
{
    return NextFiles(caption);
}

QString ScriptedDialogs::SaveFileName(QWidget*, const QString& caption, const QString&, const QString&)
{
    return NextFiles(caption).value(0);
}

QString ScriptedDialogs::ExistingFolder(QWidget*, const QString& caption, const QString&)
{
    return NextFiles(caption).value(0);
}

int ScriptedDialogs::Exec(QDialog& dialog)
{
    if (dialogAnswers.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    auto answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return answer(dialog);
}
