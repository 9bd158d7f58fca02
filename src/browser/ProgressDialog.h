#pragma once

#include <QDialog>

class QProgressBar;

// The small "Progress" window of long archive work: one bar, no close box
// (the work cannot be broken off half way), a title saying what runs.
class ProgressDialog : public QDialog
{
    Q_OBJECT

public:
    ProgressDialog(const QString& title, QWidget* parent);

    QProgressBar* Bar() const { return bar; }

public Q_SLOTS:
    // Escape does not break the work off; the owner deletes the window.
    void reject() override {}

private:
    QProgressBar* bar;
};
