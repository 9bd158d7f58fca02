#pragma once

#include "ui/ArchiveWorkDialog.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// Installs a built remaster mod once it is on screen, showing each file
// copied, and then says how it went: where the mod went and how to start
// the game with it (the launcher arguments "-mod Name -txt", ready to
// select, and put on the clipboard by Copy Arguments for pasting into the
// launcher), or why it failed.  It cannot be closed while it copies.
class RemasterInstallDialog : public ArchiveWorkDialog
{
    Q_OBJECT

public:
    // target is where the mod goes (RemasterModInstaller::InstalledFolder).
    RemasterInstallDialog(const QString& builtFolder, const QString& remasterFolder, const QString& target,
                          QWidget* parent = nullptr);

    bool IsFinished() const { return finished; }
    bool Succeeded() const { return succeeded; }
    QString Text() const;
    QProgressBar* Bar() const { return bar; }
    QLineEdit* ArgumentsEdit() const { return arguments; }
    QPushButton* CopyButton() const { return copyButton; }
    QPushButton* OkButton() const { return okButton; }

protected:
    bool IsBusy() const override { return !finished; }
    void showEvent(QShowEvent* event) override;

private:
    void Install();
    void ShowOutcome(const QString& error);
    void OnCopy();

    const QString builtFolder;
    const QString remasterFolder;
    const QString target;
    const QString name;
    QLabel* icon;
    QLabel* message;
    QProgressBar* bar;
    QLineEdit* arguments;
    QPushButton* copyButton;
    QPushButton* okButton;
    bool started = false;
    bool finished = false;
    bool succeeded = false;
};
