#pragma once

#include "QStringPrinter.h"
#include "ScriptedDialogs.h"
#include "app/CarvestoneSettings.h"
#include "table_editor/CCarvestoneView.h"
#include "table_editor/CommandBar.h"

#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

// Items with their level and code; "10 " is not the whole word 10.
inline const QByteArray ItemTable("name\tlevel\tcode\r\nAxe\t10\tax1\r\nBow\t100\tBOW\r\nCap\t10 \tcap\r\n");

class CGridCtrl;
class MagicCodeBox;
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
    // A click gives the grid the focus, as the window does for a person.
    void Click(int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Select(int row1, int col1, int row2, int col2);
    // Clicks the cell, types the text and ends with Return.
    void Edit(int row, int col, const QString& text);
    CommandState State(int id);

    CarvestoneSettings settings;

private:
    QTemporaryDir folder;
    CCarvestoneView* view;
};

// The view in its window, every question answered by script.
class ViewTest : public ::testing::Test
{
protected:
    // Answers the next name dialog by typing, as a person does, then OK.
    void AnswerName(const QString& typed, QString* caption = nullptr, QString* shown = nullptr);

    ScriptedDialogs dialogs;
    ViewHost host;
    CCarvestoneView& view = host.View();
};

// The command bar above the view, as the main window holds it: the
// window's keys work while the bar has the focus.
class BarTest : public ViewTest
{
protected:
    BarTest();
    // Types into the formula field, then presses Formula.
    void ApplyFormula(const QString& text);
    MagicCodeBox& Codes() const;
    // Opens the code list with a click and chooses the entry of that table
    // row with Enter, or with a click on it.
    void ChooseCode(int tableRow, bool click = false);

    CommandBar bar;
};
