#pragma once

#include <QDialog>

// A dialog whose archive work must not be cut short: Escape, a button wired
// to reject and the window's close box do nothing while the work runs, so
// the child process is never left without the window that waits for it.
class ArchiveWorkDialog : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;

public Q_SLOTS:
    void reject() override;

protected:
    virtual bool IsBusy() const = 0;
    void closeEvent(QCloseEvent* event) override;
};
