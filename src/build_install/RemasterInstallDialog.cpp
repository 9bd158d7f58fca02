#include "RemasterInstallDialog.h"

#include "archive/ArchiveBusy.h"
#include "archive/RemasterModInstaller.h"
#include "archive/RemasterModLayout.h"
#include "core/MessageFormat.h"
#include "core/StringTable.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPixmap MessageIcon(const QWidget& widget, QStyle::StandardPixmap kind)
{
    const int size = widget.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &widget);
    return widget.style()->standardIcon(kind, nullptr, &widget).pixmap(size);
}

} // namespace

RemasterInstallDialog::RemasterInstallDialog(const QString& builtFolder, const QString& remasterFolder,
                                             const QString& target, QWidget* parent)
    : ArchiveWorkDialog(parent)
    , builtFolder(builtFolder)
    , remasterFolder(remasterFolder)
    , target(target)
    , name(QDir(builtFolder).dirName())
    , icon(new QLabel(this))
    , message(new QLabel(tr("Installing %1 in %2...").arg(name, QDir::toNativeSeparators(target)), this))
    , bar(new QProgressBar(this))
    , arguments(new QLineEdit(RemasterModLayout::LauncherArguments(name), this))
    , copyButton(new QPushButton(tr("&Copy Arguments"), this))
    , okButton(new QPushButton(tr("OK"), this))
{
    setWindowTitle(StringTable::Get(StringId::AppTitle));
    setModal(true);
    icon->setPixmap(MessageIcon(*this, QStyle::SP_MessageBoxInformation));
    icon->setAlignment(Qt::AlignTop);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->setRange(0, 0);
    arguments->setReadOnly(true);
    arguments->hide();
    copyButton->hide();
    okButton->setEnabled(false);
    okButton->setDefault(true);
    connect(copyButton, &QPushButton::clicked, this, &RemasterInstallDialog::OnCopy);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* words = new QVBoxLayout;
    words->addWidget(message);
    words->addWidget(bar);
    words->addWidget(arguments);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(words, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 80);
}

QString RemasterInstallDialog::Text() const
{
    return message->text();
}

void RemasterInstallDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (started)
        return;
    started = true;
    // The dialog is painted before the copy starts.
    QTimer::singleShot(0, this, &RemasterInstallDialog::Install);
}

void RemasterInstallDialog::Install()
{
    QString error;
    {
        // No other archive work starts while the window answers between files.
        ArchiveBusy busy;
        succeeded = RemasterModInstaller::Install(builtFolder, remasterFolder, error, [this](int copied, int total) {
            bar->setRange(0, total);
            bar->setValue(copied);
            QCoreApplication::processEvents();
        });
    }
    ShowOutcome(error);
}

void RemasterInstallDialog::ShowOutcome(const QString& error)
{
    finished = true;
    bar->hide();
    if (succeeded) {
        message->setText(MessageFormat::Format(StringTable::Get(StringId::RemasterInstalled),
                                               {name, QDir::toNativeSeparators(target)}));
        arguments->show();
        copyButton->show();
    } else {
        icon->setPixmap(MessageIcon(*this, QStyle::SP_MessageBoxCritical));
        message->setText(error);
    }
    okButton->setEnabled(true);
    okButton->setFocus();
}

void RemasterInstallDialog::OnCopy()
{
    QApplication::clipboard()->setText(arguments->text());
    copyButton->setText(tr("&Copied"));
    arguments->selectAll();
}
