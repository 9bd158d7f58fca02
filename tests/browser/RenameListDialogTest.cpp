#include "ScriptedDialogs.h"

#include "browser/RenameListDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

// Which names are bad is the name rule's own test; here: the dialog asks it and keeps the old label.
TEST(RenameListDialogTest, EditsMoveNamesWithTheirFilesBadNamesAreRefusedAtOnceAndTwoNamesForOneFileAtOk)
{
    ScriptedDialogs dialogs;
    RenameListDialog dialog({{"data\\b.txt", "/disk/b.txt"}, {"data\\a.txt", "/disk/a.txt"}}, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const auto names = [&] {
        QStringList names;
        for (const RenameListDialog::Item& item : dialog.Items())
            names << item.name;
        return names.join(' ');
    };
    const auto edit = [&](int row, const QString& text, Qt::Key end = Qt::Key_Return) {
        QListWidget* list = dialog.List();
        if (list->currentRow() != row)   // a click on the selected item would start an edit of its own
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QTest::keyClick(list, Qt::Key_F2);
        const QPointer<QLineEdit> editor = list->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, end);
        EXPECT_TRUE(QTest::qWaitFor([&] { return editor.isNull(); }));   // the list ends the edit after the key
    };
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Press F2 to rename any files as required"));
    EXPECT_EQ(names(), "data\\a.txt data\\b.txt");
    dialogs.AnswerMessage(UserDialogs::IdOk);
    edit(0, QStringLiteral("data/x.txt"));
    EXPECT_EQ(names(), "data\\a.txt data\\b.txt");
    edit(0, QStringLiteral("data\\z\\c.txt"));
    EXPECT_EQ(names(), "data\\b.txt data\\z\\c.txt");
    EXPECT_EQ(dialog.Items()[1].source, QStringLiteral("/disk/a.txt"));   // the name travels with its file
    edit(0, QStringLiteral("data\\other.txt"), Qt::Key_Escape);
    EXPECT_EQ(names(), "data\\b.txt data\\z\\c.txt");

    // One file in the MOD folder for two names, whatever their folders or case.
    for (const QString& clash : {QStringLiteral("data\\z\\c.txt"), QStringLiteral("other\\C.TXT")}) {
        edit(0, clash);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible() && dialog.result() == QDialog::Rejected) << clash.toStdString();
    }
    edit(0, QStringLiteral("data\\d.txt"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}
