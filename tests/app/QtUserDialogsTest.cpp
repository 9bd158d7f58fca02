#include "app/QtUserDialogs.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Shows a real box of the type and answers it with the key once it is up.
int Answer(int type, Qt::Key key)
{
    QTimer::singleShot(0, [key] {
        if (QWidget* box = QApplication::activeModalWidget())
            QTest::keyClick(box, key);
    });
    return QtUserDialogs().Message(nullptr, QStringLiteral("Carvestone"), QStringLiteral("Go on?"), type);
}

TEST(QtUserDialogs, TheBoxesAnswerWithTheWindowsIds)
{
    EXPECT_EQ(Answer(UserDialogs::TypeOk, Qt::Key_Escape), UserDialogs::IdOk);
    EXPECT_EQ(Answer(UserDialogs::TypeYesNo | UserDialogs::IconQuestion, Qt::Key_Escape), UserDialogs::IdNo);
    EXPECT_EQ(Answer(UserDialogs::TypeYesNoCancel, Qt::Key_Escape), UserDialogs::IdCancel);
    EXPECT_EQ(Answer(UserDialogs::TypeYesNo, Qt::Key_Y), UserDialogs::IdYes);
}

} // namespace
