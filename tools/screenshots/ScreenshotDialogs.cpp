#include "ScreenshotDialogs.h"

#include <QDialog>

#include <cstdio>

void ScreenshotDialogs::Report(const char* what, const QString& text)
{
    ++unexpected;
    std::fprintf(stderr, "unexpected %s: %s\n", what, qPrintable(text));
}

int ScreenshotDialogs::Message(QWidget*, const QString&, const QString& text, int)
{
    if (!messageAnswers.empty()) {
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    Report("message", text);
    return IdCancel;
}

QString ScreenshotDialogs::OpenFileName(QWidget*, const QString& caption, const QString&, const QString&)
{
    if (!fileAnswers.empty()) {
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    Report("file dialog", caption);
    return {};
}

QStringList ScreenshotDialogs::OpenFileNames(QWidget*, const QString& caption, const QString&, const QString&)
{
    Report("file dialog", caption);
    return {};
}

QString ScreenshotDialogs::SaveFileName(QWidget*, const QString& caption, const QString&, const QString&)
{
    Report("file dialog", caption);
    return {};
}

QString ScreenshotDialogs::ExistingFolder(QWidget*, const QString& caption, const QString&)
{
    Report("folder dialog", caption);
    return {};
}

int ScreenshotDialogs::Exec(QDialog& dialog)
{
    if (steps.empty()) {
        Report("dialog", dialog.windowTitle());
        return QDialog::Rejected;
    }
    const Step step = std::move(steps.front());
    steps.pop_front();
    return step(dialog);
}
