#include "BuildingDialog.h"

#include "archive/RemasterModLayout.h"
#include "core/SafeFolderReplace.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The dialog's size in dialog units, as the resource gives it.
constexpr int WidthUnits = 240;
constexpr int HeightUnits = 215;
} // namespace

BuildingDialog::BuildingDialog(const QString& programFolder, const ModBuilder::Request& request,
                               const QString& projectTitle, QWidget* parent)
    : ArchiveWorkDialog(parent)
    , job(programFolder)
    , request(request)
    , log(new QPlainTextEdit(this))
    , okButton(new QPushButton(tr("OK"), this))
{
    setWindowTitle(QStringLiteral("Building - ") + projectTitle);
    setModal(true);
    log->setReadOnly(true);
    log->setUndoRedoEnabled(false);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A line too long for the window wraps before "succeeded" rather than
    // hiding how the file fared beyond the right edge.
    log->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    okButton->setEnabled(false);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(&job, &ArchiveJob::LogAppended, this, &BuildingDialog::AppendLog);
    connect(&job, &ArchiveJob::Finished, this, &BuildingDialog::OnBuildFinished);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(log);
    layout->addLayout(buttons);

    // Half as wide again as the units say: the game's archive names are
    // long, and a line of the log should fit as a rule.
    const QFontMetrics metrics = fontMetrics();
    resize(WidthUnits * metrics.averageCharWidth() / 4 * 3 / 2, HeightUnits * metrics.height() / 8);
}

void BuildingDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (started)
        return;
    started = true;
    job.StartBuild(request);
}

void BuildingDialog::OnBuildFinished()
{
    // The child's own log says why a build it ran to the end failed; what
    // it could not say is that it died or never started.
    if (job.GetResult() == ArchiveJob::Result::Died) {
        RemoveLeftCopy();
        if (!logText.isEmpty() && !logText.endsWith(QLatin1Char('\n')))
            AppendLog(QStringLiteral("\r\n"));
        const bool remaster = request.target == BuildTarget::RemasterModFolder;
        AppendLogLine(QStringLiteral("The build stopped: %1; the %2 %3 was left as it was")
                          .arg(job.Message(), remaster ? QStringLiteral("mod folder") : QStringLiteral("MOD archive"),
                               QDir::toNativeSeparators(request.archivePath)));
    } else if (job.GetResult() == ArchiveJob::Result::Failed && logText.isEmpty())
        AppendLogLine(job.Message());
    finished = true;
    okButton->setEnabled(true);
    okButton->setFocus();
}

void BuildingDialog::RemoveLeftCopy()
{
    // A build works on a copy named after the MOD archive (or, for the
    // remaster, in a folder named after the mod) with six more characters;
    // a child that died could not remove its own.
    const QFileInfo archive(request.archivePath);
    if (request.target == BuildTarget::RemasterModFolder) {
        SafeFolderReplace::RemoveLeftovers(archive.absolutePath(),
                                           RemasterModLayout::BuildingPrefix(archive.fileName()));
        return;
    }
    QDir folder = archive.absoluteDir();
    for (const QString& copy : folder.entryList({archive.fileName() + QLatin1String(".??????")}, QDir::Files | QDir::Hidden))
        folder.remove(copy);
}

void BuildingDialog::AppendLog(const QString& text)
{
    logText += text;
    if (!log)
        return;
    QTextCursor end = log->textCursor();
    end.movePosition(QTextCursor::End);
    // The widget breaks lines itself; a carriage return would show as a box.
    end.insertText(QString(text).remove(QLatin1Char('\r')));
    log->setTextCursor(end);
    log->ensureCursorVisible();
}

