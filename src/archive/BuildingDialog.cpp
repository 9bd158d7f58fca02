#include "BuildingDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The dialog's size in dialog units, as the resource gives it.
constexpr int WidthUnits = 240;
constexpr int HeightUnits = 215;
} // namespace

BuildingDialog::BuildingDialog(MpqLibrary& library, const ModBuilder::Request& request,
                               const QString& projectTitle, QWidget* parent)
    : QDialog(parent)
    , library(library)
    , request(request)
    , log(new QPlainTextEdit(this))
    , okButton(new QPushButton(tr("OK"), this))
{
    setWindowTitle(QStringLiteral("Building - ") + projectTitle);
    setModal(true);
    log->setReadOnly(true);
    log->setUndoRedoEnabled(false);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log->setLineWrapMode(QPlainTextEdit::NoWrap);
    okButton->setEnabled(false);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(log);
    layout->addLayout(buttons);

    const QFontMetrics metrics = fontMetrics();
    resize(WidthUnits * metrics.averageCharWidth() / 4, HeightUnits * metrics.height() / 8);
}

void BuildingDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (started)
        return;
    started = true;
    // The build starts once the dialog is on screen.
    QMetaObject::invokeMethod(this, &BuildingDialog::RunBuild, Qt::QueuedConnection);
}

void BuildingDialog::RunBuild()
{
    repaint();
    QCoreApplication::processEvents();
    outcome = ModBuilder::Build(library, request, *this);
    finished = true;
    okButton->setEnabled(true);
    okButton->setFocus();
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
    QCoreApplication::processEvents();
}

void BuildingDialog::reject()
{
    if (finished)
        QDialog::reject();
}

void BuildingDialog::closeEvent(QCloseEvent* event)
{
    if (finished)
        QDialog::closeEvent(event);
    else
        event->ignore();
}
