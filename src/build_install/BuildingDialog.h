#pragma once

#include "archive/ArchiveJob.h"
#include "archive/BuildLog.h"
#include "archive/ModBuilder.h"
#include "ui/ArchiveWorkDialog.h"

#include <QPlainTextEdit>
#include <QPointer>

class QPushButton;

// The modal "Building - " dialog: runs the build in carvestone-cli once it is
// on screen and shows its log as the child writes it.  A child that dies
// ends the build with a line saying so; the window stays.  It cannot be
// closed (OK, Escape or the close box) until the build has ended.
class BuildingDialog : public ArchiveWorkDialog, public BuildLog
{
    Q_OBJECT

public:
    BuildingDialog(const QString& programFolder, const ModBuilder::Request& request, const QString& projectTitle,
                   QWidget* parent = nullptr);

    // Appends to the log and keeps its end in view.
    void AppendLog(const QString& text) override;

    bool IsFinished() const { return finished; }
    ArchiveJob::Result JobResult() const { return job.GetResult(); }
    // The log exactly as the build wrote it, line ends included.
    const QString& LogText() const { return logText; }
    QPlainTextEdit* LogControl() const { return log; }
    QPushButton* OkButton() const { return okButton; }

protected:
    bool IsBusy() const override { return !finished; }
    void showEvent(QShowEvent* event) override;

private:
    void OnBuildFinished();
    void RemoveLeftCopy();

    ArchiveJob job;
    const ModBuilder::Request request;
    QPointer<QPlainTextEdit> log;
    QPushButton* okButton = nullptr;
    QString logText;
    bool started = false;
    bool finished = false;
};
