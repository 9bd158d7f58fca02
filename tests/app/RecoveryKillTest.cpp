// The real program under a virtual X server, driven by xdotool as a person
// at the keyboard: an edit typed into a table survives the program being
// killed with SIGKILL, and comes back when the next start is answered
// Recover; answered Discard, it is gone and the saved file is as it was.
#include "model/RecoveryFolder.h"
#include "model/RecoveryRecord.h"

#include "TestFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <optional>

#include <signal.h>

#include <gtest/gtest.h>

namespace {

constexpr int WaitMs = 20000;

// Xvfb on a display it picks itself, for the test's lifetime.
class VirtualScreen
{
public:
    bool Start()
    {
        server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                              QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                              QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server.waitForStarted())
            return false;
        while (!server.canReadLine() && server.waitForReadyRead(WaitMs)) {
        }
        display = QString::fromLatin1(server.readLine().trimmed());
        return !display.isEmpty();
    }
    ~VirtualScreen()
    {
        server.terminate();
        server.waitForFinished();
    }
    QString Display() const { return QLatin1Char(':') + display; }

private:
    QProcess server;
    QString display;
};

class RecoveryKillTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs Xvfb and xdotool (scripts/setup installs them)";
        ASSERT_TRUE(screen.Start());
        QDir().mkpath(Folder(QStringLiteral("mods/Mod")));
        QDir().mkpath(Folder(QStringLiteral("config")));
        project = TestFiles::Write(Folder(QStringLiteral("mods/Mod/Mod.mod")),
                                   "Carvestone Project File Version 1.0\r\ndata\\global\\excel\\Weapons.txt\r\n");
        weapons = TestFiles::Write(Folder(QStringLiteral("mods/Mod/Weapons.txt")), Saved("3"));
        TestFiles::Write(Folder(QStringLiteral("config/Carvestone.ini")),
                         "[Settings]\nMODs%20Path=" + QFile::encodeName(Folder(QStringLiteral("mods/"))) + "\n");
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), screen.Display());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("CARVESTONE_CONFIG_DIR"), Folder(QStringLiteral("config")));
        environment.insert(QStringLiteral("CARVESTONE_DATA_DIR"), Folder(QStringLiteral("data")));
        environment.insert(QStringLiteral("HOME"), temp.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), temp.path());
        environment.insert(QStringLiteral("WINEPREFIX"), Folder(QStringLiteral("no-wine")));
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    QString Folder(const QString& name) const { return temp.filePath(name); }
    static QByteArray Saved(const QByteArray& mindam) { return "name\tmindam\r\nThorn Sickle\t" + mindam + "\r\n"; }

    // xdotool's answer, or nothing when it failed or took too long.
    std::optional<QString> Xdotool(const QStringList& arguments)
    {
        QProcess xdotool;
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        if (!xdotool.waitForFinished(WaitMs)) {
            xdotool.kill();
            xdotool.waitForFinished();
            return std::nullopt;
        }
        if (xdotool.exitStatus() != QProcess::NormalExit || xdotool.exitCode() != 0)
            return std::nullopt;
        return QString::fromLatin1(xdotool.readAllStandardOutput()).trimmed();
    }

    // Waits until a window of that title shows, then gives it the keyboard.
    bool FocusWindow(const QString& title)
    {
        const std::optional<QString> found = Xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                                      QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title});
        if (!found || found->isEmpty())
            return false;
        window = found->section(QLatin1Char('\n'), 0, 0);
        return Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}).has_value();
    }

    bool Keys(const QStringList& keys)
    {
        return Xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")} + keys)
            .has_value();
    }

    void StartProgram()
    {
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(CARVESTONE_PROGRAM_PATH), {project});
        ASSERT_TRUE(program.waitForStarted());
    }

    void KillProgram()
    {
        ::kill(pid_t(program.processId()), SIGKILL);
        ASSERT_TRUE(program.waitForFinished(WaitMs));
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
    }

    // The records in the data folder that can be read.
    QList<RecoveryRecord> Records() const
    {
        QList<RecoveryRecord> records;
        const QDir folder(Folder(QStringLiteral("data/recovery")));
        for (const QString& name : folder.entryList({QStringLiteral("*.recovery")}, QDir::Files)) {
            RecoveryRecord record;
            QString cause;
            if (RecoveryRecord::Parse(TestFiles::Read(folder.filePath(name)), record, cause)
                == RecoveryRecord::ParseResult::Read)
                records.append(record);
        }
        return records;
    }

    // Waits for a record of the running program holding Weapons.txt, modified, with that content.
    bool WaitForRecordOf(const QByteArray& content)
    {
        const QDeadlineTimer deadline(WaitMs);
        while (!deadline.hasExpired()) {
            for (const RecoveryRecord& record : Records()) {
                if (record.processId == program.processId() && record.tables.size() == 1
                    && record.tables[0].name == QLatin1String("Weapons.txt") && record.tables[0].modified
                    && record.tables[0].content == content)
                    return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    bool WaitUntil(const std::function<bool()>& condition)
    {
        const QDeadlineTimer deadline(WaitMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(50);
        }
        return true;
    }

    QTemporaryDir temp;
    VirtualScreen screen;
    QProcessEnvironment environment;
    QProcess program;
    QString window;
    QString project;
    QString weapons;
};

TEST_F(RecoveryKillTest, AKilledProgramsEditComesBackOnRecoverAndDiscardLeavesTheSavedFileAndNoRecord)
{
    const QString mainTitle = QStringLiteral("Mod.mod - Carvestone");
    const QString question = QStringLiteral("Recover Unsaved Changes");

    // W picks Weapons.txt in the project tree, Enter opens it with the focus
    // on Thorn Sickle's mindam, and 45 Enter changes it.
    StartProgram();
    ASSERT_TRUE(FocusWindow(mainTitle));
    ASSERT_TRUE(Keys({"W", "Return", "4", "5", "Return"}));
    ASSERT_TRUE(WaitForRecordOf(Saved("45"))) << "the edit is recorded shortly after typing stops";
    KillProgram();
    EXPECT_EQ(TestFiles::Read(weapons), Saved("3")) << "nothing was saved";

    StartProgram();
    ASSERT_TRUE(FocusWindow(question));
    ASSERT_TRUE(Keys({"Return"})) << "Recover is the default answer";
    ASSERT_TRUE(FocusWindow(mainTitle));
    // The program that took the work over keeps its record at once: the
    // table is open holding 45 and modified (the flag that marks its tab),
    // and the killed program's record is gone.
    ASSERT_TRUE(WaitForRecordOf(Saved("45")));
    EXPECT_EQ(Records().size(), 1);
    EXPECT_EQ(TestFiles::Read(weapons), Saved("3")) << "recovered, not saved: the person decides";
    ASSERT_TRUE(Keys({"ctrl+s"}));
    ASSERT_TRUE(WaitUntil([&] { return TestFiles::Read(weapons) == Saved("45"); }));
    EXPECT_TRUE(WaitUntil([&] { return Records().isEmpty(); })) << "a save leaves nothing to recover";

    // Another edit, another kill, and this time Discard.
    ASSERT_TRUE(Keys({"5", "0", "Return"}));
    ASSERT_TRUE(WaitForRecordOf(Saved("50")));
    KillProgram();
    StartProgram();
    ASSERT_TRUE(FocusWindow(question));
    ASSERT_TRUE(Keys({"alt+d"}));
    ASSERT_TRUE(FocusWindow(mainTitle)) << "the start goes on with the project as saved";
    EXPECT_EQ(QDir(Folder(QStringLiteral("data/recovery"))).entryList(QDir::Files), QStringList())
        << "neither the record nor its lock is left";
    EXPECT_EQ(TestFiles::Read(weapons), Saved("45"));
}

} // namespace
