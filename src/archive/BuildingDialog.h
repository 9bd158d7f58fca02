#pragma once

#include "BuildLog.h"
#include "ModBuilder.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QPointer>

class QPushButton;

// The modal "Building - " dialog: runs the build once it is on screen and
// shows its log line by line.  It cannot be closed (OK, Escape or the close
// box) until the build has ended.
class BuildingDialog : public QDialog, public BuildLog
{
    Q_OBJECT

public:
    BuildingDialog(MpqLibrary& library, const ModBuilder::Request& request, const QString& projectTitle,
                   QWidget* parent = nullptr);

    // Appends to the log, keeps its end in view and lets the window breathe.
    void AppendLog(const QString& text) override;

    bool IsFinished() const { return finished; }
    BuildOutcome Outcome() const { return outcome; }
    // The log exactly as the build wrote it, line ends included.
    const QString& LogText() const { return logText; }
    QPlainTextEdit* LogControl() const { return log; }
    QPushButton* OkButton() const { return okButton; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RunBuild();

    MpqLibrary& library;
    const ModBuilder::Request request;
    QPointer<QPlainTextEdit> log;
    QPushButton* okButton = nullptr;
    QString logText;
    BuildOutcome outcome = BuildOutcome::NotRun;
    bool started = false;
    bool finished = false;
};
