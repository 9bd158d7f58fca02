#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Says where an installed remaster mod went and how to start the game with
// it: the launcher arguments "-mod Name -txt", shown ready to select, and
// put on the clipboard by Copy Arguments for pasting into the launcher.
class RemasterInstalledDialog : public QDialog
{
    Q_OBJECT

public:
    RemasterInstalledDialog(const QString& name, const QString& installedFolder, QWidget* parent = nullptr);

    QString Text() const;
    QLineEdit* ArgumentsEdit() const { return arguments; }
    QPushButton* CopyButton() const { return copyButton; }
    QPushButton* OkButton() const { return okButton; }

private:
    void OnCopy();

    QString text;
    QLineEdit* arguments;
    QPushButton* copyButton;
    QPushButton* okButton;
};
