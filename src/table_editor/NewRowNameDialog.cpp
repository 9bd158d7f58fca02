#include "NewRowNameDialog.h"

NewRowNameDialog::NewRowNameDialog(QWidget* parent) : NameEntryDialog(QStringLiteral("Row &name:"), parent)
{
    setWindowTitle(QStringLiteral("Specify New Row Name"));
}
