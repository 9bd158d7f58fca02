#include "FindTextDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindTextDialog::FindTextDialog(QWidget* parent)
    : QDialog(parent),
      textEdit(new QLineEdit(this)),
      wholeWordBox(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      matchCaseBox(new QCheckBox(QStringLiteral("Match &case"), this)),
      upButton(new QRadioButton(QStringLiteral("&Up"))),
      downButton(new QRadioButton(QStringLiteral("&Down"))),
      findNextButton(new QPushButton(QStringLiteral("&Find Next"), this))
{
    setWindowTitle(QStringLiteral("Find"));
    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    label->setBuddy(textEdit);
    textEdit->setMinimumWidth(textEdit->fontMetrics().averageCharWidth() * 30);

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(upButton);
    directionLayout->addWidget(downButton);
    downButton->setChecked(true);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    findNextButton->setDefault(true);
    findNextButton->setEnabled(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNextButton);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(textEdit, 0, 1, 1, 2);
    layout->addWidget(wholeWordBox, 1, 0, 1, 2);
    layout->addWidget(matchCaseBox, 2, 0, 1, 2);
    layout->addWidget(direction, 1, 2, 2, 1);
    layout->addLayout(buttons, 0, 3, 3, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(textEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { findNextButton->setEnabled(!text.isEmpty()); });
    connect(findNextButton, &QPushButton::clicked, this, [this] { Q_EMIT FindNext(CurrentRequest()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FindTextDialog::Request FindTextDialog::CurrentRequest() const
{
    return {textEdit->text(), wholeWordBox->isChecked(), matchCaseBox->isChecked(), downButton->isChecked()};
}
