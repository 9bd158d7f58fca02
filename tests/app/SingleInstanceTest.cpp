#include "app/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <future>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, ASecondStartHandsItsProjectToTheRunningOne)
{
    const QTemporaryDir folder;
    const QString key = folder.filePath(QStringLiteral("Carvestone.ini")), project = QStringLiteral("/mods/Caf\u00e9.mod");
    SingleInstance running(key);
    ASSERT_TRUE(running.Listen());
    QSignalSpy requests(&running, &SingleInstance::OpenRequested);

    // The second start blocks while it hands over, as a separate process
    // would; the running one answers from its event loop.
    auto handedOver = std::async(std::launch::async, [&key, &project] { return SingleInstance(key).HandOver(project); });
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_TRUE(handedOver.get());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0][0].toString(), project);
    EXPECT_FALSE(SingleInstance(key + QStringLiteral("2")).HandOver(project)) << "another store, no running one";
}

} // namespace
