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
    EXPECT_EQ(dialogs.Messages().value(0).text, QStringLiteral("Project name may not contain (. \\ ? * / \" ')"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Name(), QStringLiteral("it's"));

    dialog.NameEdit()->setText(QStringLiteral("My Mod"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
