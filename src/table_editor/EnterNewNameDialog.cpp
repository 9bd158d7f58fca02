#include "EnterNewNameDialog.h"

#include "CellNameEdit.h"

EnterNewNameDialog::EnterNewNameDialog(QWidget* parent) : NameEntryDialog(QStringLiteral("New &name:"), parent)
{
    SetTitle(QString());
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
