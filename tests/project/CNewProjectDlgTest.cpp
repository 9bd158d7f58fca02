#include "project/CNewProjectDlg.h"

#include "ScriptedDialogs.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void ClickOk(CNewProjectDlg& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

TEST(CNewProjectDlg, ARefusedNameIsReportedByTheDialogWhichStaysOpenWithTheName)
{
    for (const char* name : {"My.Mod", "a/b", "it's", "\"quoted\""}) {
        ScriptedDialogs dialogs;
        CNewProjectDlg dialog;
        dialog.show();
        QTest::keyClicks(dialog.NameEdit(), QString::fromLatin1(name));
        dialogs.AnswerMessage(UserDialogs::IdOk);
        ClickOk(dialog);
        ASSERT_EQ(dialogs.Messages().size(), 1) << name;
        EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Project name may not contain (. \\ ? * / \" ')"));
        EXPECT_EQ(dialogs.Messages()[0].owner, &dialog);
        EXPECT_EQ(dialogs.Messages()[0].type, UserDialogs::TypeOk);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Name(), QString::fromLatin1(name));
    }
}

TEST(CNewProjectDlg, AValidNameClosesTheDialogWithOk)
{
    ScriptedDialogs dialogs;
    CNewProjectDlg dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create New Project"));
    EXPECT_EQ(dialog.NameEdit()->objectName(), QStringLiteral("1021"));
    QTest::keyClicks(dialog.NameEdit(), QStringLiteral("My Mod"));
    ClickOk(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

} // namespace
