#pragma once

#include "app/CarvestoneSettings.h"
#include "archive/ArchiveBusy.h"
#include "archive/ArchiveJob.h"
#include "archive/BuildLog.h"
#include "archive/ModBuilder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// Files in a temporary folder; archives made and read by smpq, StormLib's own archiver, independent of our binding.
class ArchiveFixtures
{
public:
    QString Path(const QString& relative) const { return folder.filePath(relative); }
    QString Write(const QString& relative, const QByteArray& bytes) const;
    static QByteArray Read(const QString& path);
    static QByteArray Pattern(qsizetype size, int seed);
    static QStringList FilesIn(const QString& dir) // hidden ones too, by name
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Version 1, PKWARE, encrypted, as the game's; keys are archive names.
    QString MakeGameArchive(const QString& relative, const QMap<QString, QByteArray>& files,
                            const QStringList& extraOptions = {}) const;
    std::optional<QByteArray> SmpqExtract(const QString& archive, const QString& name) const;
    // One "<size> <date> <time> <name>" line per file, the name with slashes.
    static QString SmpqList(const QString& archive) { return RunSmpq({"-l", archive}, QDir::tempPath()).value_or(""); }
    // How smpq stores a file PKWARE-compressed and encrypted, as the game does.
    QByteArray SmpqPacked(const QString& name, const QByteArray& contents) const;

private:
    static std::optional<QByteArray> RunSmpq(const QStringList& arguments, const QString& workingFolder);
    QTemporaryDir folder;
};

class SmpqTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("smpq").isEmpty())
            GTEST_SKIP() << "smpq is not installed; it makes and reads the archives of these tests";
    }
    // Where carvestone-cli is built: beside the test program.
    static QString BinFolder() { return QCoreApplication::applicationDirPath() + '/'; }
    static bool RunToEnd(ArchiveJob& job) { return QTest::qWaitFor([&] { return !job.IsRunning(); }, 60000); }

    ArchiveFixtures fixtures;
};

// A game archive of three files; a project of three entries, one replacing a game file.
class ModProjectTest : public SmpqTest
{
protected:
    void SetUp() override;
    ModBuilder::Request Request() const { return {settings.GameMpqPath, modArchive, modFolder, entries, true, {}}; }
    QByteArray ModFile(const QString& entry) const { return modFiles.value(entry.section('\\', -1)); }

    const QString Weapons = "data\\global\\excel\\weapons.txt";
    const QMap<QString, QByteArray> gameFiles{{Weapons, "old weapons"},
                                              {"data\\global\\excel\\misc.txt", ArchiveFixtures::Pattern(9000, 1)},
                                              {"data\\global\\sfx\\hit.wav", ArchiveFixtures::Pattern(20000, 2)}};
    const QStringList entries{Weapons, "data\\global\\excel\\armor.txt", "data\\global\\ui\\panel.dc6"};
    const QMap<QString, QByteArray> modFiles{{"weapons.txt", ArchiveFixtures::Pattern(70000, 3)},
                                             {"armor.txt", QByteArray("name\tcode\r\nTin Mail\ttin\r\n").repeated(40)},
                                             {"panel.dc6", ArchiveFixtures::Pattern(5000, 4)}};
    const QString expectedLog = "Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                "Adding data\\global\\excel\\armor.txt succeeded\r\n"
                                "Adding data\\global\\ui\\panel.dc6 succeeded\r\n";
    CarvestoneSettings settings;
    const QString modFolder = fixtures.Path("Mods/Weapons/");
    const QString modArchive = modFolder + "Weapons.mpq";
    QString project;
};

// Keeps the build log, whether every piece came while archive work was busy, and what lay in `watched` then.
struct RecordingLog : BuildLog
{
    void AppendLog(const QString& piece) override
    {
        text += piece;
        busy = busy && ArchiveBusy::IsBusy();
        seen += watched.isEmpty() ? QStringList() : ArchiveFixtures::FilesIn(watched);
    }
    QString text, watched;
    QStringList seen;
    bool busy = true;
};

// Puts a shell script in the place of carvestone-cli for the life of the instance.
struct FakeChild
{
    explicit FakeChild(const QString& script) { ArchiveJob::OverrideProgram("sh", {"-c", script}); }
    ~FakeChild() { ArchiveJob::OverrideProgram({}); }
};
