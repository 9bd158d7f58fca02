#include "project/CNewProjectDlg.h"

#include "ScriptedDialogs.h"
#include "model/ProjectCreation.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(CNewProjectDlg, ARefusedNameKeepsTheDialogOpenWithTheNameAndAValidOneClosesIt)
{
    for (const char* name : {"My.Mod", "a/b", "say \"hi\"", "a\\b", "what?", "star*"})
        EXPECT_FALSE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;
    for (const char* name : {"", "  spaced  ", "Mod-2 (final)"})
        EXPECT_TRUE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;

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

TEST(CNewProjectDlg, TheGameIsTheClassicOneUnlessTheRemasterIsChosenAndTheArrowKeysGoBack)
{
    CNewProjectDlg dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.Target(), BuildTarget::ClassicPatchArchive);
    QTest::mouseClick(dialog.RemasterButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Target(), BuildTarget::RemasterModFolder);
    QTest::keyClick(dialog.RemasterButton(), Qt::Key_Up);
    EXPECT_EQ(dialog.Target(), BuildTarget::ClassicPatchArchive);
}
