#include "project/CNewProjectDlg.h"

#include "ScriptedDialogs.h"
#include "model/ProjectCreation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
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

// Reported: OK on an empty name answered "Failed to create the directory" with the MODs folder's path.  An empty
// or blank name asks for a name, keeps the dialog open with the focus in the field, and makes no folder.
TEST(CNewProjectDlg, AnEmptyOrBlankNameAsksForANameAndMakesNothing)
{
    ScriptedDialogs dialogs;
    CNewProjectDlg dialog;
    dialog.show();
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    for (const char* typed : {"", "   "}) {
        dialog.NameEdit()->clear();
        QTest::keyClicks(dialog.NameEdit(), QString::fromLatin1(typed));
        dialogs.AnswerMessage(UserDialogs::IdOk);
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_EQ(dialogs.Messages().last().text, QStringLiteral("Please enter a name for the new project.")) << typed;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), dialog.NameEdit());
    }

    QTemporaryDir mods;
    const ProjectCreation::Result created = ProjectCreation::Create(mods.filePath(QStringLiteral("MODs/")), " ");
    EXPECT_EQ(created.outcome, ProjectCreation::Outcome::NameMissing);
    EXPECT_FALSE(QFileInfo::exists(mods.filePath(QStringLiteral("MODs"))));
}
