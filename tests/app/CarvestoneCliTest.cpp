#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int exitCode;
    QString out;
    QString err;
};

class CarvestoneCliTest : public ::testing::Test
{
protected:
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

    QByteArray Read(const QString& relativePath) const
    {
        QFile file(work.filePath(relativePath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QString Mods() const { return work.filePath(QStringLiteral("mods")); }

    void SetUp() override { QDir(work.path()).mkdir(QStringLiteral("mods")); }

    QTemporaryDir config;
    QTemporaryDir work;
};

TEST_F(CarvestoneCliTest, NewWritesExactlyTheHeaderWithCrLf)
{
    const CliRun run = Run({"new", "Test", "--mods", Mods()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Read(QStringLiteral("mods/Test/Test.mod")), QByteArray("Carvestone Project File Version 1.0\r\n"));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Test.mod")));
}

TEST_F(CarvestoneCliTest, AddKeepsEntriesSortedEndedByLfAndAPresentEntryChangesNothing)
{
    ASSERT_EQ(Run({"new", "Test", "--mods", Mods()}).exitCode, 0);
    const QString project = QStringLiteral("mods/Test/Test.mod");
    const CliRun added = Run({"add", project, "b.txt", "a.txt", "data\\global\\excel\\c.txt"});
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    const QByteArray expected("Carvestone Project File Version 1.0\na.txt\nb.txt\ndata\\global\\excel\\c.txt\n");
    EXPECT_EQ(Read(project), expected);

    EXPECT_EQ(Run({"add", project, "a.txt"}).exitCode, 0);
    EXPECT_EQ(Read(project), expected);

    const CliRun listed = Run({"entries", project});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, QStringLiteral("a.txt\nb.txt\ndata\\global\\excel\\c.txt\n"));

    EXPECT_EQ(Run({"remove", project, "b.txt"}).exitCode, 0);
    EXPECT_EQ(Read(project), QByteArray("Carvestone Project File Version 1.0\na.txt\ndata\\global\\excel\\c.txt\n"));
}

TEST_F(CarvestoneCliTest, RefusedNamesAndExistingProjectsFailWithAMessage)
{
    ASSERT_EQ(Run({"new", "Test", "--mods", Mods()}).exitCode, 0);
    const CliRun again = Run({"new", "Test", "--mods", Mods()});
    EXPECT_NE(again.exitCode, 0);
    EXPECT_TRUE(again.err.contains(QStringLiteral("A project with the name \"Test\" already exists.")));

    const CliRun quoted = Run({"new", "it's", "--mods", Mods()});
    EXPECT_NE(quoted.exitCode, 0);
    EXPECT_TRUE(quoted.err.contains(QStringLiteral("Project name may not contain")));
    EXPECT_FALSE(QFileInfo::exists(Mods() + QStringLiteral("/it's")));

    QDir(Mods()).mkdir(QStringLiteral("Folder"));
    const CliRun folder = Run({"new", "Folder", "--mods", Mods()});
    EXPECT_NE(folder.exitCode, 0);
    EXPECT_TRUE(folder.err.contains(QStringLiteral("Failed to create the directory"))) << folder.err.toStdString();
}

TEST_F(CarvestoneCliTest, ProjectFilesThatCannotBeReadFailNamingTheFile)
{
    const CliRun missing = Run({"add", "absent.mod", "a.txt"});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("absent.mod was not found."))) << missing.err.toStdString();

    QFile table(work.filePath(QStringLiteral("weapons.txt")));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("name\tcode\r\n");
    table.close();
    const CliRun bad = Run({"add", "weapons.txt", "a.txt"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("weapons.txt has a bad format.")));
    EXPECT_EQ(Read(QStringLiteral("weapons.txt")), QByteArray("name\tcode\r\n"));
}

TEST_F(CarvestoneCliTest, UsageOnNoOrUnknownVerb)
{
    const CliRun none = Run({});
    EXPECT_NE(none.exitCode, 0);
    EXPECT_TRUE(none.err.contains(QStringLiteral("usage:")));
    const CliRun unknown = Run({"frobnicate"});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("frobnicate")));
    EXPECT_NE(Run({"add", "only-project.mod"}).exitCode, 0);
}

TEST_F(CarvestoneCliTest, TheModsPathComesFromTheSettingsWhichAreNeverWritten)
{
    const QString ini = config.filePath(QStringLiteral("Carvestone.ini"));
    {
        QSettings store(ini, QSettings::IniFormat);
        store.setValue(QStringLiteral("Settings/MODs Path"), Mods() + QLatin1Char('/'));
    }
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    const CliRun run = Run({"new", "FromSettings"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Read(QStringLiteral("mods/FromSettings/FromSettings.mod")).size(), 37);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);

    QFile::remove(ini);
    EXPECT_NE(Run({"new", "NoMods"}).exitCode, 0) << "no MODs path anywhere";
    EXPECT_FALSE(QFileInfo::exists(ini));
}

} // namespace
