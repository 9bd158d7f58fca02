#pragma once

#include "model/RecoveryRecord.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// "Recover Unsaved Changes": asked at start when an earlier Carvestone
// ended without saving.  It names the project and lists what the record
// holds: the unsaved entry list, the tables with unsaved changes (saying
// which were changed on disk since and so come back as copies) and the
// tables that were only open.  Recover accepts; Discard ends the dialog
// with DiscardResult; closing it decides nothing, and the record is
// offered again at the next start.
class RecoveryDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int DiscardResult = 2;

    explicit RecoveryDialog(const RecoveryRecord& record, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list; }
    QPushButton* RecoverButton() const { return recoverButton; }
    QPushButton* DiscardButton() const { return discardButton; }

private:
    void FillList(const RecoveryRecord& record);

    QTreeWidget* list;
    QPushButton* recoverButton;
    QPushButton* discardButton;
};
