#include "RemasterInstalledDialog.h"

#include "archive/RemasterModLayout.h"
#include "core/MessageFormat.h"
#include "core/StringTable.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

RemasterInstalledDialog::RemasterInstalledDialog(const QString& name, const QString& installedFolder, QWidget* parent)
    : QDialog(parent)
    , text(MessageFormat::Format(StringTable::Get(StringId::RemasterInstalled),
                                 {name, QDir::toNativeSeparators(installedFolder)}))
    , arguments(new QLineEdit(RemasterModLayout::LauncherArguments(name), this))
    , copyButton(new QPushButton(tr("&Copy Arguments"), this))
    , okButton(new QPushButton(tr("OK"), this))
{
    setWindowTitle(StringTable::Get(StringId::AppTitle));
    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);
    auto* message = new QLabel(text, this);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    arguments->setReadOnly(true);
    // Wide enough for the arguments of a long name, in the editor's font.
    arguments->setMinimumWidth(arguments->fontMetrics().horizontalAdvance(arguments->text()) + 24);
    okButton->setDefault(true);
    connect(copyButton, &QPushButton::clicked, this, &RemasterInstalledDialog::OnCopy);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* words = new QVBoxLayout;
    words->addWidget(message);
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

QString RemasterInstalledDialog::Text() const
{
    return text;
}

void RemasterInstalledDialog::OnCopy()
{
    QApplication::clipboard()->setText(arguments->text());
    copyButton->setText(tr("&Copied"));
    arguments->selectAll();
}
