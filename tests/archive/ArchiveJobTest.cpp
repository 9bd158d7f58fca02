#include "ArchiveFixtures.h"

#include "archive/MachineChannel.h"

#include <QSignalSpy>

TEST(MachineChannelTest, LogTextSurvivesTheTripThroughOneLine)
{
    for (const QString& text : {QStringLiteral("Adding data\\global\\excel\\armor.txt succeeded\r\n"),
                                QStringLiteral("\\r is not a CR\n"), QStringLiteral("ends with a backslash\\"),
                                QString::fromLatin1("caf\xe9\\n\r")}) {
        const QByteArray line = MachineChannel::Escape(text);
        EXPECT_FALSE(line.contains('\n') || line.contains('\r')) << line.toStdString();
        EXPECT_EQ(MachineChannel::Unescape(line), text);
    }
}

using ArchiveJobTest = ModProjectTest;

TEST_F(ArchiveJobTest, AListingThroughTheChildEqualsTheOneInProcessReportsProgressAndIsCached)
{
    const QString listing = fixtures.Write("AllFiles.txt", "(listfile)\r\n" + gameFiles.keys().join("\r\n").toLatin1()
                                                               + "\r\nabsent.txt\r\n" + QByteArray(5000, ';') + "\r\n");
    ArchiveJob job(BinFolder());
    QSignalSpy ranges(&job, &ArchiveJob::RangeChanged), positions(&job, &ArchiveJob::PositionChanged);
    job.StartListing(settings.GameMpqPath, listing);
    EXPECT_TRUE(ArchiveBusy::IsBusy());
    ASSERT_TRUE(RunToEnd(job));
    EXPECT_FALSE(ArchiveBusy::IsBusy());
    EXPECT_EQ(job.GetResult(), ArchiveJob::Result::Succeeded) << job.Message().toStdString();
    EXPECT_EQ(job.Names(), gameFiles.keys());
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges[0][1].toInt(), QFileInfo(listing).size());
    ASSERT_GE(positions.size(), 2); // the long comment line moves the bar on its own
    EXPECT_EQ(positions.last()[0].toInt(), QFileInfo(listing).size());
    ASSERT_NE(ArchiveJob::Listings().Find(settings.GameMpqPath), nullptr);
    EXPECT_EQ(*ArchiveJob::Listings().Find(settings.GameMpqPath), gameFiles.keys());
}

TEST_F(ArchiveJobTest, EveryWayTheChildCanFailEndsTheJobWithWordsForTheUserAndCachesNothing)
{
    const QString listing = fixtures.Write("AllFiles.txt", Weapons.toLatin1());
    const struct { const char* script; ArchiveJob::Result result; const char* message; } cases[] = {
        {"echo 'name data\\\\x.txt'; echo 'progress 5'", ArchiveJob::Result::Died, "stopped unexpectedly"}, // no "done"
        {"echo 'error list: x.mpq is damaged\\n'; echo 'done 1'; exit 1", ArchiveJob::Result::Failed,
         "list: x.mpq is damaged"},
        {nullptr, ArchiveJob::Result::Failed, "carvestone-cli is missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::optional<FakeChild> fake;
        if (c.script)
            fake.emplace(c.script);
        ArchiveJob job(c.script ? BinFolder() : fixtures.Path("no-such-folder"));
        QSignalSpy finished(&job, &ArchiveJob::Finished);
        job.StartListing(settings.GameMpqPath, listing);
        ASSERT_TRUE(RunToEnd(job));
        EXPECT_EQ(job.GetResult(), c.result);
        EXPECT_TRUE(job.Message().contains(c.message)) << job.Message().toStdString();
        EXPECT_EQ(finished.size(), 1);
        EXPECT_EQ(ArchiveJob::Listings().Find(settings.GameMpqPath), nullptr);
        EXPECT_FALSE(ArchiveBusy::IsBusy());
    }
}
