#pragma once

#include "QStringPrinter.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "core/CarvestoneSettings.h"
#include "grid/CGridCtrl.h"
#include "mainframe/CommandTable.h"
#include "table_editor/CCarvestoneView.h"
#include "table_editor/CellNameEdit.h"
#include "table_editor/CommandBar.h"
#include "table_editor/MagicCodeBox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

// Items with their level and code; "10 " is not the whole word 10.
inline const QByteArray ItemTable("name\tlevel\tcode\r\nAxe\t10\tax1\r\nBow\t100\tBOW\r\nCap\t10 \tcap\r\n");

// The table view under the command bar, the shortcuts routed as the main window routes them (enabled only).
class ViewTest : public ::testing::Test
{
protected:
    ViewTest()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&bar);
        layout->addWidget(&view);
        for (const CommandDescriptor& command : CommandTable::All()) {
            QAction* action = window.addAction(QString(), [this, id = command.id] {
                if (State(id).enabled)
                    view.OnCommand(id);
            });
            action->setShortcuts(command.shortcuts);
        }
        bar.SetTableView(&view);
        window.resize(640, 400);
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
    }

    QString PathOf(const QString& name) const { return folder.filePath(name); }
    QByteArray Saved(const QString& name) const { return TestFiles::Read(PathOf(name)); }
    void Open(const QString& name, const QByteArray& bytes)
    {
        TestFiles::Write(PathOf(name), bytes);
        EXPECT_TRUE(view.OpenTable(name)) << name.toStdString();
    }
    CGridCtrl& Grid() const { return *view.GetCurrentGrid(); }
    QStringList TabTexts() const
    {
        QStringList texts;
        for (int index = 0; index < view.TabBar()->count(); ++index)
            texts.append(view.TabBar()->tabText(index));
        return texts;
    }
    CommandState State(int id)
    {
        CommandState state;
        view.OnUpdateCommand(id, state);
        return state;
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        // A closed popup (the property code list) can leave no window active.
        QApplication::setActiveWindow(&window);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, Qt::Key(key), modifiers);
    }
    // Types into the focus cell as a person does; the editor stays open.
    void Type(const QString& text)
    {
        Grid().setFocus();
        QTest::keyClicks(&Grid(), text.left(1));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "typing opened no editor";
        QTest::keyClicks(editor, text.mid(1));
    }
    // A click gives the grid the focus, as the window does for a person.
    void Click(int row, int col, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        Grid().setFocus();
        Grid().EnsureVisible(row, col);
        QRect rect;
        ASSERT_TRUE(Grid().GetCellRect(row, col, &rect));
        QTest::mouseClick(Grid().viewport(), button, modifiers, rect.center());
    }
    void Edit(int row, int col, const QString& text)
    {
        Click(row, col);
        Type(text);
        Press(Qt::Key_Return);
    }
    void AnswerName(const QString& typed)
    {
        dialogs.AnswerDialog([=, this](QDialog& dialog) {
            auto* edit = dialog.findChild<CellNameEdit*>();
            asked = {dialog.windowTitle(), edit->text()};
            edit->clear();
            QTest::keyClicks(edit, typed);
            return int(QDialog::Accepted);
        });
    }
    void ApplyFormula(const QString& text, bool withEnter = false)
    {
        bar.UpdateCommandUi();
        QWidget* field = bar.Control(CommandBar::IDC_FORMULA_TEXT);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        if (withEnter)
            QTest::keyClick(field, Qt::Key_Return);
        else
            QTest::mouseClick(bar.Control(CommandBar::IDC_FORMULA), Qt::LeftButton);
    }
    MagicCodeBox& Codes() const { return *static_cast<MagicCodeBox*>(bar.Control(CommandBar::IDC_MAGIC_CODES)); }
    void ChooseCode(int tableRow)
    {
        bar.UpdateCommandUi();
        QTest::mouseClick(&Codes(), Qt::LeftButton);
        QAbstractItemView* list = Codes().view();
        list->setCurrentIndex(list->model()->index(Codes().findData(tableRow), 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_FALSE(list->isVisible());
    }

    QStringList asked; // the caption and the shown text of the last name dialog
    ScriptedDialogs dialogs;
    CarvestoneSettings settings;
    QTemporaryDir folder;
    QWidget window;
    CCarvestoneView& view = *new CCarvestoneView([this] { return folder.path() + '/'; }, settings, &window);
    CommandBar& bar = *new CommandBar(&window);
};
