#pragma once

#include <QDialog>

class QPlainTextEdit;

// "About Carvestone": the program's icon, its version, and the credits in a
// read-only text box.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QPlainTextEdit* Credits() const { return credits; }

private:
    QPlainTextEdit* credits;
};
