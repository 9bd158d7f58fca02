#include "SmallDisk.h"
#include "TestFiles.h"
#include "core/ProgramVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray Header("Carvestone Project File Version 1.0");

class CarvestoneCliTest : public ::testing::Test
{
protected:
    void SetUp() override { QDir(work.path()).mkdir(QStringLiteral("mods")); }

    int Run(const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CARVESTONE_CONFIG_DIR"), config.path());
        environment.insert(QStringLiteral("WINEPREFIX"), work.filePath(QStringLiteral("no-wine")));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(work.path());
        process.start(QStringLiteral(CARVESTONE_CLI_PATH), arguments);
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(30000));
        err = QString::fromLocal8Bit(process.readAllStandardError());
        out = QString::fromLocal8Bit(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Scripts tell a mistake in their own call (status 2) from a refusal (status 1).
    void ExpectFailure(const QStringList& arguments, const QString& message, int exitCode = 1)
    {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(Run(arguments), exitCode);
        EXPECT_TRUE(err.contains(message)) << err.toStdString();
    }

    QByteArray Read(const QString& relative) const { return TestFiles::Read(work.filePath(relative)); }
    QString Mods() const { return work.filePath(QStringLiteral("mods")); }

    const QString project = QStringLiteral("mods/Test/Test.mod");
    const QString namedProject = QStringLiteral("mods/%1/%1.mod");
    QTemporaryDir config;
    QTemporaryDir work;
    QString out, err;
};

// The MODs path comes from the settings, which are never written.
TEST_F(CarvestoneCliTest, NewThenAddEntriesAndRemoveKeepTheExactBytes)
{
    const QByteArray settings = "[Settings]\nMODs%20Path=" + QFile::encodeName(Mods()) + "/\n";
    const QString ini = TestFiles::Write(config.filePath(QStringLiteral("Carvestone.ini")), settings);
    EXPECT_EQ(Run({"new", "Test"}), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("Test.mod")));
    EXPECT_EQ(Read(project), Header + "\r\n");
    for (const QStringList& entries : {QStringList{"b.txt", "a.txt", "data\\global\\excel\\c.txt"}, {"a.txt"}}) {
        EXPECT_EQ(Run(QStringList{"add", project} + entries), 0);
        EXPECT_EQ(Read(project), Header + "\na.txt\nb.txt\ndata\\global\\excel\\c.txt\n");
    }
    EXPECT_EQ(Run({"entries", project}), 0);
    EXPECT_EQ(out, QStringLiteral("a.txt\nb.txt\ndata\\global\\excel\\c.txt\n"));
    EXPECT_EQ(Run({"remove", project, "b.txt"}), 0);
    EXPECT_EQ(Read(project), Header + "\na.txt\ndata\\global\\excel\\c.txt\n");
    EXPECT_EQ(TestFiles::Read(ini), settings);

    QFile::remove(ini);
    ExpectFailure({"new", "NoMods"}, QStringLiteral("no MODs path"));
    EXPECT_FALSE(QFileInfo::exists(ini));
}

TEST_F(CarvestoneCliTest, WrongUsageRefusedNamesExistingProjectsMissingFoldersAndUnsavableEntriesFail)
{
    for (const QStringList& wrongUsage : {QStringList{"add", "only.mod"}, {"remove", "only.mod"}, {"new"},
                                          {"new", "A", "--mods"}, {"entries"}, {"rename", "a.mod"}, {}})
        ExpectFailure(wrongUsage, QStringLiteral("usage"), 2);
    ASSERT_EQ(Run({"new", "Test", "--mods", Mods()}), 0);
    ExpectFailure({"new", "Test", "--mods", Mods()}, QStringLiteral("A project with the name \"Test\" already"));
    ExpectFailure({"new", "it's", "--mods", Mods()}, QStringLiteral("Project name may not contain"));
    // An empty name once made the MODs folder and then said it could not create it.
    for (const char* name : {"", " "})
        ExpectFailure({"new", name, "--mods", work.filePath("unmade")}, "new: Please enter a name for the new project.");
    EXPECT_FALSE(QFileInfo::exists(work.filePath("unmade")));
    // A missing MODs folder is made, one level only, as the program's start does.
    EXPECT_EQ(Run({"new", "Fresh", "--mods", work.filePath(QStringLiteral("fresh"))}), 0);
    EXPECT_EQ(Read(QStringLiteral("fresh/Fresh/Fresh.mod")), Header + "\r\n");
    ExpectFailure({"new", "Deep", "--mods", work.filePath("no/such")}, QStringLiteral("Failed to create the"));
    // Entries that would come back as a comment or as two lines change nothing.
    for (const QString& entry : {QStringLiteral(";old.txt"), QStringLiteral("a\nb.txt"), QString()})
        ExpectFailure({"add", project, "ok.txt", entry}, QStringLiteral("cannot be an entry"));
    EXPECT_EQ(Read(project), Header + "\r\n");
}

// Every verb's help, the program's usage and its version go to standard output with status 0, in one form, each
// ending with a newline; "entries --help" once looked for a file named "--help".
TEST_F(CarvestoneCliTest, HelpAndVersionAnswerOnStandardOutputForTheProgramAndEveryVerb)
{
    for (const QStringList& asked : {QStringList{"--help"}, {"-h"}, {"help"}}) {
        EXPECT_EQ(Run(asked), 0) << asked.first().toStdString();
        EXPECT_TRUE(out.startsWith(QStringLiteral("usage: carvestone-cli VERB")) && out.endsWith('\n')) << out.toStdString();
        EXPECT_EQ(err, QString());
    }
    const QString usage = out;
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out, QStringLiteral("carvestone-cli ") + ProgramVersion::Text() + '\n');
    EXPECT_EQ(out, QStringLiteral("carvestone-cli 1.02\n"));

    const QStringList verbs = usage.section(QStringLiteral("verbs:\n"), 1).split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(verbs.size(), 10);
    for (const QString& line : verbs) {
        const QString verb = line.trimmed().section(' ', 0, 0);
        SCOPED_TRACE(verb.toStdString());
        EXPECT_EQ(Run({verb, "--help"}), 0);
        const QString help = out;
        EXPECT_TRUE(help.startsWith(QStringLiteral("usage: carvestone-cli ") + line.trimmed() + '\n')) << help.toStdString();
        EXPECT_TRUE(help.endsWith('\n') && help.contains(QStringLiteral("\noptions:\n")) && help.contains(QStringLiteral("\n  --help ")));
        EXPECT_EQ(err, QString());
        for (const QStringList& again : {QStringList{verb, "-h"}, {"help", verb}, {verb, "x", "--no-such", "--help"}}) {
            EXPECT_EQ(Run(again), 0);
            EXPECT_EQ(out, help) << again.join(' ').toStdString();
        }
        EXPECT_EQ(Run({verb, "--no-such-option"}), 2);
        EXPECT_EQ(out, QString());
        EXPECT_TRUE(err.endsWith(QStringLiteral("\nusage: carvestone-cli ") + line.trimmed() + '\n')) << err.toStdString();
    }
    ExpectFailure({"help", "frobnicate"}, QStringLiteral("unknown verb frobnicate"), 2);
    ExpectFailure({"frobnicate"}, QStringLiteral("unknown verb frobnicate"), 2);
    ExpectFailure({}, QStringLiteral("usage: carvestone-cli VERB"), 2);
    EXPECT_FALSE(err.contains(QStringLiteral("unknown verb"))) << "no verb is no unknown verb";
    ExpectFailure({"recovery", "extra"}, QStringLiteral("usage: carvestone-cli recovery"), 2);
    // After "--" a word is an argument, whatever it looks like.
    ExpectFailure({"entries", "--", "-h"}, QStringLiteral("-h"), 1);
    EXPECT_FALSE(out.contains(QStringLiteral("usage")));
}

// As seen on a 64 KB disk with 8 KB left: add and extract used to exit 0 and cut the files.
TEST_F(CarvestoneCliTest, OnANearlyFullDiskAddAndExtractFailWithTheCauseAndKeepTheFiles)
{
    SmallDisk disk(64);
    if (!disk.IsReady() || QStandardPaths::findExecutable(QStringLiteral("smpq")).isEmpty())
        GTEST_SKIP() << "needs smpq and a small disk: " << disk.Why().toStdString();
    QByteArray entries = Header + "\n";
    for (int i = 0; entries.size() < 17628; ++i)
        entries += "data\\global\\excel\\table" + QByteArray::number(i).rightJustified(5, '0') + ".txt\n";
    const QString projectPath = TestFiles::Write(disk.Path() + QStringLiteral("/Big.mod"), entries);
    const QByteArray oldTable = QByteArray("name\tcode\r\n").repeated(300);
    const QString table = TestFiles::Write(disk.Path() + QStringLiteral("/misc.txt"), oldTable);
    TestFiles::Write(work.filePath(QStringLiteral("misc.txt")), QByteArray(30000, 'm'));
    QProcess smpq; // it stores the name it is given, so it runs where the file lies
    smpq.setWorkingDirectory(work.path());
    smpq.start(QStringLiteral("smpq"), {"-c", "-q", "-C", "none", work.filePath("game.mpq"), "misc.txt"});
    ASSERT_TRUE(smpq.waitForFinished() && smpq.exitCode() == 0);
    ASSERT_TRUE(disk.LeaveFree(8192));

    const QString full = QStringLiteral("Disk full while accessing ");
    ExpectFailure({"add", projectPath, "data\\new.txt"}, full + QDir::toNativeSeparators(projectPath));
    EXPECT_EQ(TestFiles::Read(projectPath), entries);
    ExpectFailure({"extract", work.filePath("game.mpq"), "misc.txt", table}, full + QDir::toNativeSeparators(table));
    EXPECT_EQ(TestFiles::Read(table), oldTable);
}

// A remaster MOD from the demo's extracted data to the game's mods folder, and the words that keep each game's road apart.
TEST_F(CarvestoneCliTest, ARemasterModGoesFromTheExtractedDemoToTheModsFolderAndEachGamesOptionsStayItsOwn)
{
    const QString demo = QFileInfo(QStringLiteral(CARVESTONE_CLI_PATH)).absolutePath() + QStringLiteral("/demo/remaster");
    const QString weapons = QStringLiteral("data\\global\\excel\\Weapons.txt");
    ASSERT_EQ(Run({"new", "Sharp", "--mods", Mods(), "--remaster"}), 0) << err.toStdString();
    EXPECT_EQ(Read(namedProject.arg("Sharp")), Header + "\r\n") << "the project file an older Carvestone reads";
    EXPECT_EQ(Run({"target", namedProject.arg("Sharp")}), 0);
    EXPECT_EQ(out, "remaster\n");

    ASSERT_EQ(Run({"list", demo}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("data\\global\\excel\\armor.txt\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("\ndata\\global\\excel\\weapons.txt\n"));
    ASSERT_EQ(Run({"extract", demo, weapons, Mods() + "/Sharp"}), 0) << err.toStdString();
    const QByteArray table = TestFiles::Read(demo + "/data/global/excel/weapons.txt");
    EXPECT_EQ(Read("mods/Sharp/Weapons.txt"), table);
    // Several names at once, as the window reads the game's copies, and a name the data lacks.
    QDir().mkpath(work.filePath("copies"));
    ASSERT_EQ(Run({"extract", demo, weapons, "data\\global\\excel\\armor.txt", "data\\no.txt", work.filePath("copies"),
                   "--missing-ok"}), 0) << err.toStdString();
    EXPECT_EQ(out, "missing data\\no.txt\n");
    EXPECT_EQ(Read("copies/Weapons.txt"), table);
    EXPECT_EQ(Read("copies/armor.txt"), TestFiles::Read(demo + "/data/global/excel/armor.txt"));
    ASSERT_EQ(Run({"add", namedProject.arg("Sharp"), weapons}), 0);

    ExpectFailure({"build", namedProject.arg("Sharp"), "--game-mpq", "x.mpq"}, "is a remaster MOD");
    ExpectFailure({"build", namedProject.arg("Sharp"), "--game-data", Mods()}, "is not a folder of extracted game data");
    EXPECT_FALSE(QFileInfo::exists(work.filePath("mods/Sharp/Sharp"))) << "nothing built";
    ASSERT_EQ(Run({"build", namedProject.arg("Sharp")}), 0) << err.toStdString();
    EXPECT_EQ(out, "Adding " + weapons + " succeeded\r\nBuilt the mod folder "
                       + QDir::toNativeSeparators(work.filePath("mods/Sharp/Sharp")) + "\r\n");
    EXPECT_EQ(Read("mods/Sharp/Sharp/Sharp.mpq/data/global/excel/weapons.txt"), table) << "spelled as the demo spells it";
    // A file the MOD folder lacks keeps the mod folder built before.
    const QString missing = QStringLiteral("data\\global\\excel\\Missing.txt");
    ASSERT_EQ(Run({"add", namedProject.arg("Sharp"), missing}), 0);
    ExpectFailure({"build", namedProject.arg("Sharp")}, "some files could not be copied, so the mod folder was not replaced");
    EXPECT_EQ(Read("mods/Sharp/Sharp/Sharp.mpq/data/global/excel/weapons.txt"), table);
    ASSERT_EQ(Run({"remove", namedProject.arg("Sharp"), missing, "Unknown.txt"}), 0) << "what is not there is no failure";
    EXPECT_EQ(out, "Unknown.txt is not in the project\n");

    const QString game = work.filePath(QStringLiteral("D2R"));
    QDir().mkpath(game);
    ExpectFailure({"install", namedProject.arg("Sharp"), "--game-folder", game}, "not confirmed");
    EXPECT_FALSE(QFileInfo::exists(game + "/mods"));
    ASSERT_EQ(Run({"install", namedProject.arg("Sharp"), "--game-folder", game}, "yes\n"), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("Start Diablo II: Resurrected with: -mod Sharp -txt\n")) << out.toStdString();
    EXPECT_EQ(TestFiles::Read(game + "/mods/Sharp/Sharp.mpq/data/global/excel/weapons.txt"), table);
    EXPECT_EQ(QJsonDocument::fromJson(TestFiles::Read(game + "/mods/Sharp/Sharp.mpq/modinfo.json")).object(),
              QJsonObject({{"name", "Sharp"}, {"savepath", "Sharp/"}}));
    ExpectFailure({"install", namedProject.arg("Sharp"), "--yes"}, "Diablo II: Resurrected folder was not found");

    // Back to the classic game: its options, not the remaster's.
    ExpectFailure({"target", namedProject.arg("Sharp"), "d2r"}, "is no game: say classic or remaster", 2);
    ASSERT_EQ(Run({"target", namedProject.arg("Sharp"), "classic"}), 0);
    EXPECT_FALSE(QFileInfo::exists(work.filePath("mods/Sharp/Sharp.target")));
    ExpectFailure({"build", namedProject.arg("Sharp"), "--game-data", demo}, "is a classic MOD");

    // A target that cannot be read stops build and install rather than building for the wrong game.
    TestFiles::Write(work.filePath("mods/Sharp/Sharp.target"), "resurrected\n");
    for (const char* verb : {"build", "install", "target"})
        ExpectFailure({verb, namedProject.arg("Sharp")}, "does not say \"classic\" or \"remaster\".");
    ExpectFailure({"list", Mods()}, "is not a folder of extracted game data");
    ExpectFailure({"extract", Mods(), weapons, work.path()}, "is not a folder of extracted game data");
}

} // namespace
