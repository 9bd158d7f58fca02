#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct CliRun { int exitCode; QString out, err; };

static CliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(CARVESTONE_CLI_PATH), QStringList{QStringLiteral("table")} + arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

TEST(TableCliTest, GameTablesAreUnchangedAndEveryRuleASaveWouldApplyIsNamedResavedOrRefused)
{
    QTemporaryDir work;
    qputenv("CARVESTONE_CONFIG_DIR", work.path().toLocal8Bit());
    qputenv("WINEPREFIX", work.filePath(QStringLiteral("no-wine")).toLocal8Bit());
    const QDir games(QStringLiteral(CARVESTONE_GAME_TABLES));
    const QStringList names = games.entryList({QStringLiteral("*.txt")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty()) << CARVESTONE_GAME_TABLES;
    for (const QString& name : names) {
        const CliRun run = RunCli({games.filePath(name)});
        EXPECT_EQ(run.exitCode, 0) << name.toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith(QStringLiteral("unchanged\n"))) << run.out.toStdString();
    }

    static const char bytes[] = "a\tb\t\nr\t1\t\tx\n\0tail";
    const QString path = TestFiles::Write(work.filePath("t.txt"), QByteArray(bytes, sizeof bytes - 1));
    const QString resaved = work.filePath("out.txt");
    const CliRun run = RunCli({path, "--resave", resaved});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("2 rows, 2 columns")) << run.out.toStdString();
    for (const char* rule :
         {"line ends made CR LF (first at line 1)", "fields beyond the header dropped (first at line 2)",
          "data after a NUL dropped (first at line 3)", "empty trailing column dropped (first at line 1)"})
        EXPECT_TRUE(run.out.contains(rule)) << rule << "\n" << run.out.toStdString();
    EXPECT_EQ(TestFiles::Read(resaved), "a\tb\r\nr\t1\r\n");
    EXPECT_EQ(RunCli({resaved}).exitCode, 0);

    // Unreadable files are named with their whole path and the cause.
    const QString missing = QDir::toNativeSeparators(work.filePath("missing.txt"));
    const struct { QStringList arguments; QString message; } cases[] = {
        {{}, "usage: carvestone-cli table FILE"}, {{resaved, resaved}, "usage:"}, {{resaved, "--bogus"}, "usage:"},
        {{missing}, missing + " was not found."},
        {{work.path()}, QDir::toNativeSeparators(work.path()) + " contains an invalid path."},
        {{resaved + "/below.txt"}, QDir::toNativeSeparators(resaved + "/below.txt") + " contains an invalid path."},
        {{resaved, "--resave", resaved + "/below.txt"}, "below.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun failed = RunCli(c.arguments);
        EXPECT_EQ(failed.exitCode, 2);
        EXPECT_TRUE(failed.err.contains(c.message)) << failed.err.toStdString();
    }
    EXPECT_EQ(TestFiles::Read(resaved), "a\tb\r\nr\t1\r\n");
}
