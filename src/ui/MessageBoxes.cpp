#include "MessageBoxes.h"

#include "UserDialogs.h"
#include "core/MessageFormat.h"
#include "core/StringTable.h"

#include <QWidget>

QPointer<QWidget>& MessageBoxes::DefaultOwner()
{
    static QPointer<QWidget> window;
    return window;
}

void MessageBoxes::SetDefaultOwner(QWidget* window)
{
    DefaultOwner() = window;
}

int MessageBoxes::ShowMessage(QWidget* owner, int type, const QString& format, const QVariantList& values)
{
    if (!owner && DefaultOwner() && DefaultOwner()->isVisible())
        owner = DefaultOwner();
    return UserDialogs::Current().Message(owner, StringTable::Get(StringId::AppTitle),
                                          MessageFormat::Format(format, values), type);
}

int MessageBoxes::ShowMessageId(QWidget* owner, int type, int stringId, const QVariantList& values)
{
    return ShowMessage(owner, type, StringTable::Get(stringId), values);
}
