#pragma once

#include "UserDialogs.h"

// The real dialogs: QMessageBox, QFileDialog and QDialog::exec.
class QtUserDialogs : public UserDialogs
{
public:
    int Message(QWidget* owner, const QString& caption, const QString& text, int type) override;
    QString OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QStringList OpenFileNames(QWidget* owner, const QString& caption, const QString& folder,
                              const QString& filter) override;
    QString SaveFileName(QWidget* owner, const QString& caption, const QString& path,
                         const QString& filter) override;
    QString ExistingFolder(QWidget* owner, const QString& caption, const QString& folder) override;
    int Exec(QDialog& dialog) override;
    void OpenUrl(const QUrl& url) override;
};
