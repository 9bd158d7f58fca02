#include "NewRowNameDialog.h"

NewRowNameDialog::NewRowNameDialog(QWidget* parent) : NameEntryDialog(parent)
{
    setWindowTitle(QStringLiteral("Specify New Row Name"));
}
