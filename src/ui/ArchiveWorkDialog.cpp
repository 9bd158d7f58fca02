#include "ArchiveWorkDialog.h"

#include <QCloseEvent>

void ArchiveWorkDialog::reject()
{
    if (!IsBusy())
        QDialog::reject();
}

void ArchiveWorkDialog::closeEvent(QCloseEvent* event)
{
    if (IsBusy())
        event->ignore();
    else
        QDialog::closeEvent(event);
}
