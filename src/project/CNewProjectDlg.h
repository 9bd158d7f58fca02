#pragma once

#include <QDialog>

class QLineEdit;

// "Create New Project": asks for the name of a new MOD project and refuses
// names that hold characters a project name may not have.
class CNewProjectDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int NameEditId = 1021;

    explicit CNewProjectDlg(QWidget* parent = nullptr);

    QString Name() const;
    QLineEdit* NameEdit() const { return nameEdit; }

    void accept() override;

private:
    QLineEdit* nameEdit;
};
