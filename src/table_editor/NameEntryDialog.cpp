#include "NameEntryDialog.h"

#include "CellNameEdit.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

NameEntryDialog::NameEntryDialog(QWidget* parent) : QDialog(parent), nameEdit(new CellNameEdit(this))
{
    nameEdit->setObjectName(QStringLiteral("edit%1").arg(NameEditId));
    nameEdit->setMinimumWidth(nameEdit->fontMetrics().averageCharWidth() * 36);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameEdit);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString NameEntryDialog::Name() const
{
    return nameEdit->text();
}
