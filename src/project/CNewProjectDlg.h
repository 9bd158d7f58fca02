#pragma once

#include "model/ProjectTarget.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

// "Create New Project": asks for the name of a new MOD project, refusing
// names that hold characters a project name may not have, and for the game
// it is built for (a classic patch archive unless the person chooses the
// remaster's mod folder).
class CNewProjectDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int NameEditId = 1021;

    explicit CNewProjectDlg(QWidget* parent = nullptr);

    QString Name() const;
    BuildTarget Target() const;
    QLineEdit* NameEdit() const { return nameEdit; }
    QRadioButton* ClassicButton() const { return classicButton; }
    QRadioButton* RemasterButton() const { return remasterButton; }

    void accept() override;

private:
    QLineEdit* nameEdit;
    QRadioButton* classicButton;
    QRadioButton* remasterButton;
};
