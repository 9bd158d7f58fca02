#include "app/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <future>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, ASecondStartHandsItsProjectToTheRunningOne)
{
    QTemporaryDir folder;
    const QString key = folder.filePath(QStringLiteral("Carvestone.ini"));
    SingleInstance running(key);
    ASSERT_TRUE(running.Listen());
    QSignalSpy requests(&running, &SingleInstance::OpenRequested);

    // The second start blocks while it hands over, as a separate process
    // would; the running one answers from its event loop.
    const QString project = QStringLiteral("/mods/Caf\u00e9/Caf\u00e9.mod");
    auto handedOver = std::async(std::launch::async, [&key, &project] { return SingleInstance(key).HandOver(project); });
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_TRUE(handedOver.get());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0][0].toString(), project);
}

TEST(SingleInstance, WithoutARunningInstanceNothingIsHandedOver)
{
    QTemporaryDir folder;
    const QString key = folder.filePath(QStringLiteral("Carvestone.ini"));
    EXPECT_FALSE(SingleInstance(key).HandOver(QStringLiteral("/x.mod")));
    EXPECT_NE(SingleInstance::ServerName(key), SingleInstance::ServerName(key + QStringLiteral("2")))
        << "instances with different settings stores do not meet";
}

} // namespace
