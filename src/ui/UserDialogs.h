#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QUrl;
class QWidget;

// Every place where a person answers the program goes through this seam:
// message boxes, file and folder choosers and modal dialogs.  The program
// uses QtUserDialogs; tests install their own answers with SetCurrent.
class UserDialogs
{
public:
    // Message box types (Windows values): buttons in the low nibble, icon above.
    static constexpr int TypeOk = 0;
    static constexpr int TypeOkCancel = 1;
    static constexpr int TypeYesNoCancel = 3;
    static constexpr int TypeYesNo = 4;
    static constexpr int IconError = 0x10;
    static constexpr int IconQuestion = 0x20;
    static constexpr int IconWarning = 0x30;
    static constexpr int IconInformation = 0x40;

    // Results of a message box (Windows values).
    static constexpr int IdOk = 1;
    static constexpr int IdCancel = 2;
    static constexpr int IdYes = 6;
    static constexpr int IdNo = 7;

    virtual ~UserDialogs() = default;

    virtual int Message(QWidget* owner, const QString& caption, const QString& text, int type) = 0;
    // File choosers answer an empty text (or list) when the person cancels.
    virtual QString OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QStringList OpenFileNames(QWidget* owner, const QString& caption, const QString& folder,
                                      const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* owner, const QString& caption, const QString& path,
                                 const QString& filter) = 0;
    virtual QString ExistingFolder(QWidget* owner, const QString& caption, const QString& folder) = 0;
    // Runs a modal dialog; answers QDialog::Accepted or QDialog::Rejected.
    virtual int Exec(QDialog& dialog) = 0;
    // Opens a web address in the person's browser; the outcome is the
    // desktop's business.
    virtual void OpenUrl(const QUrl& url) = 0;

    static UserDialogs& Current();
    // Installs other answers (tests); nullptr brings back the real dialogs.
    static void SetCurrent(UserDialogs* dialogs);
};
