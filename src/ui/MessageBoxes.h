#pragma once

#include <QPointer>
#include <QString>
#include <QVariantList>

class QWidget;

// The program's message boxes: caption "Carvestone", a printf-style format
// (%s, %d) or %1 filled with the values, the answer as the button's id
// (UserDialogs::IdOk, IdCancel, IdYes, IdNo).  Every window reports through
// here, so none of them needs the application object to ask a question.
class MessageBoxes
{
public:
    // Without an owner of its own, a box is owned by this window while it
    // is visible (the main window, once the application made it).
    static void SetDefaultOwner(QWidget* window);

    static int ShowMessage(QWidget* owner, int type, const QString& format, const QVariantList& values = {});
    static int ShowMessageId(QWidget* owner, int type, int stringId, const QVariantList& values = {});

private:
    static QPointer<QWidget>& DefaultOwner();
};
