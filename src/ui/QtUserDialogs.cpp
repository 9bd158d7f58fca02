#include "QtUserDialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

QMessageBox::StandardButtons ButtonsOf(int type)
{
    switch (type & 0x0F) {
    case UserDialogs::TypeOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case UserDialogs::TypeYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UserDialogs::TypeYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(int type)
{
    switch (type & 0xF0) {
    case UserDialogs::IconError:
        return QMessageBox::Critical;
    case UserDialogs::IconQuestion:
        return QMessageBox::Question;
    case UserDialogs::IconWarning:
        return QMessageBox::Warning;
    case UserDialogs::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int IdOf(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return UserDialogs::IdYes;
    case QMessageBox::No:
        return UserDialogs::IdNo;
    case QMessageBox::Cancel:
        return UserDialogs::IdCancel;
    default:
        return UserDialogs::IdOk;
    }
}

} // namespace

int QtUserDialogs::Message(QWidget* owner, const QString& caption, const QString& text, int type)
{
    QMessageBox box(IconOf(type), caption, text, ButtonsOf(type), owner);
    const int result = box.exec();
    // A box closed without a button answers as Windows does: Cancel where
    // there is one, No for a Yes/No question, OK for a notice.
    if (result == QMessageBox::Escape || result == 0) {
        const int buttons = type & 0x0F;
        if (buttons == TypeYesNo)
            return IdNo;
        return buttons == TypeOk ? IdOk : IdCancel;
    }
    return IdOf(result);
}

QString QtUserDialogs::OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                                    const QString& filter)
{
    return QFileDialog::getOpenFileName(owner, caption, folder, filter);
}

QStringList QtUserDialogs::OpenFileNames(QWidget* owner, const QString& caption, const QString& folder,
                                         const QString& filter)
{
    return QFileDialog::getOpenFileNames(owner, caption, folder, filter);
}

QString QtUserDialogs::SaveFileName(QWidget* owner, const QString& caption, const QString& path,
                                    const QString& filter)
{
    return QFileDialog::getSaveFileName(owner, caption, path, filter);
}

QString QtUserDialogs::ExistingFolder(QWidget* owner, const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(owner, caption, folder);
}

int QtUserDialogs::Exec(QDialog& dialog)
{
    return dialog.exec();
}

void QtUserDialogs::OpenUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
