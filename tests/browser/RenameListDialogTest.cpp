#include "ScriptedDialogs.h"

#include "browser/RenameListDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class RenameListDialogTest : public ::testing::Test
{
protected:
    RenameListDialogTest()
    {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    QStringList Names() const
    {
        QStringList names;
        for (const RenameListDialog::Item& item : dialog.Items())
            names << item.name;
        return names;
    }
    // Edits the label of a row as a user does: a click, F2, the text, a key.
    void Edit(int row, const QString& text, Qt::Key end = Qt::Key_Return)
    {
        QListWidget* list = dialog.List();
        // A click on the selected item would start an edit of its own.
        if (list->currentRow() != row)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QTest::keyClick(list, Qt::Key_F2);
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        const QPointer<QLineEdit> open(editor);
        QTest::keyClick(editor, end);
        // The list ends the edit once the key has been handled.
        EXPECT_TRUE(QTest::qWaitFor([&] { return open.isNull(); }));
    }

    ScriptedDialogs dialogs;
    RenameListDialog dialog{{{QStringLiteral("data\\b.txt"), QStringLiteral("/disk/b.txt")},
                             {QStringLiteral("data\\a.txt"), QStringLiteral("/disk/a.txt")}},
                            nullptr};
};

} // namespace

TEST_F(RenameListDialogTest, NamesComeBackSortedWithTheirFilesAndEditsMoveThem)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Press F2 to rename any files as required"));
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("data\\a.txt"), QStringLiteral("data\\b.txt")}));
    Edit(0, QStringLiteral("data\\z\\c.txt"));
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("data\\b.txt"), QStringLiteral("data\\z\\c.txt")}));
    EXPECT_EQ(dialog.Items()[1].source, QStringLiteral("/disk/a.txt"));   // the name travels with its file
    Edit(0, QStringLiteral("data\\other.txt"), Qt::Key_Escape);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("data\\b.txt"), QStringLiteral("data\\z\\c.txt")}));
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

// Which names are bad is the name rule's own test; here: the dialog asks it and keeps the old label.
TEST_F(RenameListDialogTest, BadNamesAreRefusedAtOnceAndTwoNamesForOneFileAtOk)
{
    for (const QString& bad : {QStringLiteral("data\\"), QStringLiteral("data/x.txt")}) {
        dialogs.AnswerMessage(UserDialogs::IdOk);
        Edit(0, bad);
        EXPECT_EQ(Names(), (QStringList{QStringLiteral("data\\a.txt"), QStringLiteral("data\\b.txt")})) << bad.toStdString();
    }
    // One file in the MOD folder for two names, whatever their folders or case.
    for (const QString& clash : {QStringLiteral("data\\b.txt"), QStringLiteral("other\\B.TXT")}) {
        Edit(0, clash);
        dialogs.AnswerMessage(UserDialogs::IdOk);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible() && dialog.result() == QDialog::Rejected) << clash.toStdString();
    }
    Edit(0, QStringLiteral("data\\c.txt"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.Messages().size(), 4);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}
