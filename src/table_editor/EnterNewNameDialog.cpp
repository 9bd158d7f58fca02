#include "EnterNewNameDialog.h"

#include "CellNameEdit.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

EnterNewNameDialog::EnterNewNameDialog(QWidget* parent) : QDialog(parent), nameEdit(new CellNameEdit(this))
{
    SetTitle(QString());
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

void EnterNewNameDialog::SetTitle(const QString& title)
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Enter New Name") : title);
}

void EnterNewNameDialog::SetName(const QString& name)
{
    nameEdit->setText(name);
    nameEdit->selectAll();
}

QString EnterNewNameDialog::Name() const
{
    return nameEdit->text();
}
