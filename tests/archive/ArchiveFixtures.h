#pragma once

#include "TestFiles.h"
#include "archive/ArchiveBusy.h"
#include "archive/BuildLog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

// Files in a temporary folder; archives made and read by smpq, StormLib's own archiver, independent of our binding.
class ArchiveFixtures
{
public:
    QString Path(const QString& relative) const { return folder.filePath(relative); }
    QString Write(const QString& relative, const QByteArray& bytes) const;
    static QByteArray Read(const QString& path) { return TestFiles::Read(path); }
    static QByteArray Pattern(qsizetype size, int seed);
    static QStringList FilesIn(const QString& d) { return QDir(d).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    // Every file under a folder, by its path relative to it, with its bytes: a whole folder compared at once.
    static QMap<QString, QByteArray> FilesUnder(const QString& folder);

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
    static QString BinFolder() { return QCoreApplication::applicationDirPath() + '/'; }

    ArchiveFixtures fixtures;
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
