#include "project/CNewProjectDlg.h"

#include "ScriptedDialogs.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(CNewProjectDlg, ARefusedNameKeepsTheDialogOpenWithTheNameAndAValidOneClosesIt)
{
    ScriptedDialogs dialogs;
    CNewProjectDlg dialog;
    dialog.show();
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::keyClicks(dialog.NameEdit(), QStringLiteral("it's"));
    dialogs.AnswerMessage(UserDialogs::IdOk);
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Project name may not contain (. \\ ? * / \" ')"));
    EXPECT_EQ(dialogs.Messages()[0].owner, &dialog);
    EXPECT_EQ(dialogs.Messages()[0].type, UserDialogs::TypeOk);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Name(), QStringLiteral("it's"));

    dialog.NameEdit()->clear();
    QTest::keyClicks(dialog.NameEdit(), QStringLiteral("My Mod"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.Messages().size(), 1);
}

} // namespace
