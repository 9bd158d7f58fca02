#pragma once

#include "app/CarvestoneSettings.h"
#include "table_editor/CCarvestoneView.h"

#include <QTemporaryDir>
#include <QWidget>

class CGridCtrl;
class QLineEdit;

// A window holding the table view of a project folder, with the program's
// own command table turned into shortcuts that reach the view the way the
// main window routes them (enabled commands only), so tests press keys.
class ViewHost : public QWidget
{
public:
    ViewHost();

    CCarvestoneView& View() { return *view; }
    QString Folder() const { return folder.path() + QLatin1Char('/'); }
    QString PathOf(const QString& name) const { return folder.filePath(name); }
    // Writes a table into the project folder and opens it.
    void Open(const QString& name, const QByteArray& bytes);
    CGridCtrl& Grid() const;
    QStringList TabTexts() const;
    // Types into the current grid's focus cell as a person does; the
    // editor stays open unless finished with Return.
    QLineEdit* Type(const QString& text);
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    CarvestoneSettings settings;

private:
    QTemporaryDir folder;
    CCarvestoneView* view;
};
