#include "ArchiveFixtures.h"
#include "ScriptedDialogs.h"

#include "archive/ArchiveJob.h"
#include "archive/BuildInstallCommands.h"
#include "archive/BuildingDialog.h"
#include "archive/MachineChannel.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QtEndian>
#include <QTest>

namespace {

QString BinFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1String("/");
}

// Puts a fake in the place of carvestone-cli for the life of the instance.
class FakeChild
{
public:
    explicit FakeChild(const QString& script) { ArchiveJob::OverrideProgram(QStringLiteral("sh"), {QStringLiteral("-c"), script}); }
    ~FakeChild() { ArchiveJob::OverrideProgram({}); }
    FakeChild(const FakeChild&) = delete;
    FakeChild& operator=(const FakeChild&) = delete;
};

bool RunToEnd(ArchiveJob& job)
{
    return QTest::qWaitFor([&] { return !job.IsRunning(); }, 30000);
}

class ArchiveJobTest : public ModProjectTest
{
};

} // namespace

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

TEST_F(ArchiveJobTest, AListingThroughTheChildEqualsTheOneInProcessReportsProgressAndIsCachedWhenWhole)
{
    const QString listing = fixtures.Write(QStringLiteral("AllFiles.txt"),
                                           "(listfile)\r\n" + gameFiles.keys().join(QLatin1String("\r\n")).toLatin1()
                                               + "\r\ndata\\global\\excel\\absent.txt\r\n"
                                               + QByteArray(5000, ';') + "\r\n");
    MpqLibrary library;
    QStringList inProcess;
    library.ReadListing(settings.GameMpqPath, listing, inProcess, nullptr);
    ASSERT_EQ(inProcess.size(), 3);

    ArchiveJob job(BinFolder());
    QSignalSpy ranges(&job, &ArchiveJob::RangeChanged), positions(&job, &ArchiveJob::PositionChanged);
    EXPECT_EQ(ArchiveJob::Listings().Find(settings.GameMpqPath), nullptr);
    job.StartListing(settings.GameMpqPath, listing);
    EXPECT_TRUE(ArchiveBusy::IsBusy());
    ASSERT_TRUE(RunToEnd(job));
    EXPECT_FALSE(ArchiveBusy::IsBusy());
    EXPECT_EQ(job.GetResult(), ArchiveJob::Result::Succeeded) << job.Message().toStdString();
    EXPECT_EQ(job.Names(), inProcess);
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges[0][1].toInt(), QFileInfo(listing).size());
    ASSERT_GE(positions.size(), 2);   // the long comment line moves the bar on its own
    EXPECT_EQ(positions.last()[0].toInt(), QFileInfo(listing).size());
    ASSERT_NE(ArchiveJob::Listings().Find(settings.GameMpqPath), nullptr);
    EXPECT_EQ(*ArchiveJob::Listings().Find(settings.GameMpqPath), inProcess);

    // A child that dies half way through leaves nothing in the cache.
    const QString other = fixtures.Path(QStringLiteral("other.mpq"));
    QFile::copy(settings.GameMpqPath, other);
    FakeChild dies(QStringLiteral("echo 'range 0 10'; echo 'name data\\\\x.txt'; kill -SEGV $$"));
    job.StartListing(other, listing);
    ASSERT_TRUE(RunToEnd(job));
    EXPECT_EQ(job.GetResult(), ArchiveJob::Result::Died);
    EXPECT_EQ(job.Message(), ArchiveJob::DiedMessage());
    EXPECT_EQ(ArchiveJob::Listings().Find(other), nullptr);
}

TEST_F(ArchiveJobTest, EveryWayTheChildCanFailEndsTheJobWithWordsForTheUser)
{
    const struct
    {
        const char* script;
        ArchiveJob::Result result;
        const char* message;
    } cases[] = {
        {"kill -SEGV $$", ArchiveJob::Result::Died, "stopped unexpectedly"},
        {"echo 'progress 5'", ArchiveJob::Result::Died, "stopped unexpectedly"},   // exits without "done"
        {"echo 'error list: x.mpq is damaged\\n'; echo 'done 1'; exit 1", ArchiveJob::Result::Failed,
         "list: x.mpq is damaged"},
        {"echo 'done 0'", ArchiveJob::Result::Succeeded, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        FakeChild fake(QString::fromLatin1(c.script));
        ArchiveJob job(BinFolder());
        QSignalSpy finished(&job, &ArchiveJob::Finished);
        job.StartExtraction(settings.GameMpqPath, Weapons, modFolder);
        ASSERT_TRUE(RunToEnd(job));
        EXPECT_EQ(job.GetResult(), c.result);
        if (c.result == ArchiveJob::Result::Succeeded)
            EXPECT_TRUE(job.Message().isEmpty());
        else
            EXPECT_TRUE(job.Message().contains(QString::fromLatin1(c.message))) << job.Message().toStdString();
        EXPECT_EQ(finished.size(), 1);
    }
    ArchiveJob missing(fixtures.Path(QStringLiteral("no-such-folder")));
    missing.StartExtraction(settings.GameMpqPath, Weapons, modFolder);
    ASSERT_TRUE(RunToEnd(missing));
    EXPECT_EQ(missing.GetResult(), ArchiveJob::Result::Failed);
    EXPECT_TRUE(missing.Message().contains(QStringLiteral("carvestone-cli is missing"))) << missing.Message().toStdString();
    EXPECT_FALSE(ArchiveBusy::IsBusy());
}

TEST_F(ArchiveJobTest, ABuildWhoseChildDiesSaysSoAndTheWindowAndTheOldArchiveStay)
{
    fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mpq"), "previous");
    CCarvestoneDoc document;
    ASSERT_EQ(document.OpenProject(project), CCarvestoneDoc::OpenResult::Opened);
    settings.ProgramFolder = BinFolder();
    MpqLibrary library;
    BuildInstallCommands commands(library, settings);
    commands.SetDocument(&document);
    ScriptedDialogs dialogs;
    // It dies half way, leaving its copy of the game archive behind.
    const QString leftCopy = modArchive + QLatin1String(".a1B2c3");
    FakeChild dies(QStringLiteral("printf '%s\\n' 'log Adding ' 'log data\\\\global\\\\excel\\\\weapons.txt'; : > '")
                   + leftCopy + QStringLiteral("'; kill -KILL $$"));
    dialogs.AnswerDialog([&](QDialog& shown) {
        auto& dialog = dynamic_cast<BuildingDialog&>(shown);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000));
        EXPECT_EQ(dialog.JobResult(), ArchiveJob::Result::Died);
        EXPECT_TRUE(dialog.LogText().startsWith(QStringLiteral("Adding data\\global\\excel\\weapons.txt\r\nThe build stopped: "
                                                               "the archive work stopped unexpectedly")))
            << dialog.LogText().toStdString();
        EXPECT_TRUE(dialog.LogText().endsWith(QStringLiteral(" was left as it was\r\n")));
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_TRUE(commands.OnCommand(CommandId::Build));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), "previous");
    EXPECT_FALSE(QFile::exists(leftCopy));
    EXPECT_EQ(document.FileList(), entries);
}

TEST_F(ArchiveJobTest, AHashTableCountTooBigForAnyMemoryFailsInsteadOfEatingTheMachine)
{
    // 0xCF000000 entries would ask for about 55 GB; the child's memory limit
    // makes the allocation fail at once.
    QByteArray bytes = ArchiveFixtures::Read(settings.GameMpqPath);
    ASSERT_TRUE(bytes.startsWith("MPQ\x1a"));
    qToLittleEndian<quint32>(0xCF000000u, bytes.data() + 0x18);
    const QString hostile = fixtures.Write(QStringLiteral("hostile.mpq"), bytes);
    const QString listing = fixtures.Write(QStringLiteral("AllFiles.txt"), Weapons.toLatin1());
    ArchiveJob job(BinFolder());
    job.StartListing(hostile, listing);
    ASSERT_TRUE(RunToEnd(job));
    EXPECT_NE(job.GetResult(), ArchiveJob::Result::Succeeded);
    EXPECT_TRUE(job.Message().contains(QStringLiteral("hostile.mpq")) || job.GetResult() == ArchiveJob::Result::Died)
        << job.Message().toStdString();
}
