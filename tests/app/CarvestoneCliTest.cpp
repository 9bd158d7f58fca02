#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Header("Carvestone Project File Version 1.0");

struct CliRun
{
    int exitCode;
    QString out;
    QString err;
};

class CarvestoneCliTest : public ::testing::Test
{
protected:
    void SetUp() override { QDir(work.path()).mkdir(QStringLiteral("mods")); }

    CliRun Run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CARVESTONE_CONFIG_DIR"), config.path());
        environment.insert(QStringLiteral("WINEPREFIX"), work.filePath(QStringLiteral("no-wine")));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(work.path());
        process.start(QStringLiteral(CARVESTONE_CLI_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // Runs and expects a failure whose message holds the text.
    void ExpectFailure(const QStringList& arguments, const QString& message)
    {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CliRun run = Run(arguments);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }

    QByteArray Read(const QString& relativePath) const { return TestFiles::Read(work.filePath(relativePath)); }
    QString Mods() const { return work.filePath(QStringLiteral("mods")); }

    const QString project = QStringLiteral("mods/Test/Test.mod");
    QTemporaryDir config;
    QTemporaryDir work;
};

TEST_F(CarvestoneCliTest, NewThenAddEntriesAndRemoveKeepTheExactBytes)
{
    const CliRun created = Run({"new", "Test", "--mods", Mods()});
    EXPECT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.contains(QStringLiteral("Test.mod")));
    EXPECT_EQ(Read(project), Header + "\r\n");

    const CliRun added = Run({"add", project, "b.txt", "a.txt", "data\\global\\excel\\c.txt"});
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    const QByteArray expected = Header + "\na.txt\nb.txt\ndata\\global\\excel\\c.txt\n";
    EXPECT_EQ(Read(project), expected);
    EXPECT_EQ(Run({"add", project, "a.txt"}).exitCode, 0);
    EXPECT_EQ(Read(project), expected) << "adding a present entry changes nothing";

    const CliRun listed = Run({"entries", project});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, QStringLiteral("a.txt\nb.txt\ndata\\global\\excel\\c.txt\n"));

    EXPECT_EQ(Run({"remove", project, "b.txt"}).exitCode, 0);
    EXPECT_EQ(Read(project), Header + "\na.txt\ndata\\global\\excel\\c.txt\n");
}

TEST_F(CarvestoneCliTest, RefusedNamesExistingProjectsAndUnsavableEntriesFailWithAMessage)
{
    ASSERT_EQ(Run({"new", "Test", "--mods", Mods()}).exitCode, 0);
    ExpectFailure({"new", "Test", "--mods", Mods()},
                  QStringLiteral("A project with the name \"Test\" already exists."));
    ExpectFailure({"new", "it's", "--mods", Mods()}, QStringLiteral("Project name may not contain"));
    EXPECT_FALSE(QFileInfo::exists(Mods() + QStringLiteral("/it's")));
    QDir(Mods()).mkdir(QStringLiteral("Folder"));
    ExpectFailure({"new", "Folder", "--mods", Mods()}, QStringLiteral("Failed to create the directory"));

    // Entries that would come back as a comment or as two lines change nothing.
    for (const QString& entry : {QStringLiteral(";old.txt"), QStringLiteral("a\nb.txt"), QString()})
        ExpectFailure({"add", project, "ok.txt", entry}, QStringLiteral("cannot be an entry"));
    EXPECT_EQ(Read(project), Header + "\r\n");
}

TEST_F(CarvestoneCliTest, ProjectFilesThatCannotBeReadFailNamingTheFile)
{
    ExpectFailure({"add", "absent.mod", "a.txt"}, QStringLiteral("absent.mod was not found."));
    TestFiles::Write(work.filePath(QStringLiteral("weapons.txt")), "name\tcode\r\n");
    ExpectFailure({"add", "weapons.txt", "a.txt"}, QStringLiteral("weapons.txt has a bad format."));
    EXPECT_EQ(Read(QStringLiteral("weapons.txt")), QByteArray("name\tcode\r\n"));
}

TEST_F(CarvestoneCliTest, WrongUsageFailsWithStatusTwo)
{
    for (const QStringList& arguments : {QStringList{}, QStringList{"frobnicate"}, QStringList{"add", "only.mod"},
                                         QStringList{"new", "--mods"}, QStringList{"new", "A", "B"},
                                         QStringList{"new", "A", "--modz", "x"}}) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CliRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage:"))) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(Mods()).isEmpty());
}

TEST_F(CarvestoneCliTest, TheModsPathComesFromTheSettingsWhichAreNeverWritten)
{
    const QString ini = config.filePath(QStringLiteral("Carvestone.ini"));
    QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("Settings/MODs Path"), Mods() + QLatin1Char('/'));
    const QByteArray before = TestFiles::Read(ini);

    const CliRun run = Run({"new", "FromSettings"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Read(QStringLiteral("mods/FromSettings/FromSettings.mod")).size(), 37);
    EXPECT_EQ(TestFiles::Read(ini), before);

    QFile::remove(ini);
    ExpectFailure({"new", "NoMods"}, QStringLiteral("no MODs path"));
    EXPECT_FALSE(QFileInfo::exists(ini));
}

} // namespace
