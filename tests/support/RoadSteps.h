#pragma once

// What a person does on both modder roads (tests/app): clicking an item of a
// tree, waiting for a dialog to show, giving the keys back to its owner, and
// letting a build finish to read its log.
#include "build_install/BuildingDialog.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>

#include <gtest/gtest.h>

namespace RoadSteps {

inline void ClickItem(QTreeWidget& tree, const QString& text)
{
    QTreeWidgetItem* item = tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(item, nullptr) << text.toStdString();
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
}

inline void ShowAndWait(QDialog& dialog)
{
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

// The owner gets the keys back, as from a window manager; offscreen, no window is focused after a dialog.
inline int Closed(QDialog& dialog)
{
    EXPECT_FALSE(dialog.isVisible());
    if (QWidget* owner = dialog.parentWidget()) {
        owner->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(owner->window()));
    }
    return dialog.result();
}

// The answer to the Building dialog: wait for the build to end, keep its log, press OK.
inline std::function<int(QDialog&)> FinishBuilding(QString& log)
{
    return [&log](QDialog& dialog) {
        auto& building = dynamic_cast<BuildingDialog&>(dialog);
        ShowAndWait(building);
        EXPECT_TRUE(QTest::qWaitFor([&] { return building.IsFinished(); }, 30000));
        log = building.LogText();
        QTest::mouseClick(building.OkButton(), Qt::LeftButton);
        return Closed(building);
    };
}

} // namespace RoadSteps
