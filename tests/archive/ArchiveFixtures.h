#pragma once

#include "app/CarvestoneSettings.h"
#include "archive/ArchiveBusy.h"
#include "archive/BuildLog.h"
#include "archive/ModBuilder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <optional>

// Files in a temporary folder, archives made and read by smpq (StormLib's
// own archiver, as independent of our binding as a peer can be), and a
// reader of an archive's tables that tells how a file was stored.
class ArchiveFixtures
{
public:
    struct StoredFile
    {
        std::uint32_t flags;
        int firstSectorCompression;   // -1 when the first sector is stored plain
    };
    static constexpr std::uint32_t FlagCompress = 0x00000200;
    static constexpr std::uint32_t FlagEncrypted = 0x00010000;
    static constexpr int CompressionPkware = 0x08;

    QString Path(const QString& relative) const { return folder.filePath(relative); }
    QString Write(const QString& relative, const QByteArray& bytes) const;
    static QByteArray Read(const QString& path);
    static QByteArray Pattern(qsizetype size, int seed);
    // The files of a folder, hidden ones too, by name.
    static QStringList FilesIn(const QString& folder);

    static bool HasSmpq();
    // An archive as the game's look: version 1, PKWARE, encrypted.  Keys are
    // archive names (backslashes), values the contents.
    QString MakeGameArchive(const QString& relative, const QMap<QString, QByteArray>& files,
                            const QStringList& extraOptions = {}) const;
    static QStringList SmpqList(const QString& archive);   // with backslashes
    std::optional<QByteArray> SmpqExtract(const QString& archive, const QString& name) const;
    static int SmpqMaxFileCount(const QString& archive);
    // How a name is stored, read straight from the archive file.
    static std::optional<StoredFile> StoredFileOf(const QString& archive, const QString& name);

private:
    static bool RunSmpq(const QStringList& arguments, const QString& workingFolder, QByteArray* output);
    QTemporaryDir folder;
};

// Base of the tests that need smpq for their archives.
class SmpqTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!ArchiveFixtures::HasSmpq())
            GTEST_SKIP() << "smpq is not installed; it makes and reads the archives of these tests";
    }
    ArchiveFixtures fixtures;
};

// A game archive of three files and a project of three entries, one of
// which replaces a file of the game archive.
class ModProjectTest : public SmpqTest
{
protected:
    void SetUp() override;
    ModBuilder::Request Request() const { return {settings.GameMpqPath, modArchive, modFolder, entries, true}; }

    const QString Weapons = QStringLiteral("data\\global\\excel\\weapons.txt");
    const QMap<QString, QByteArray> gameFiles{{Weapons, "old weapons"},
                                              {QStringLiteral("data\\global\\excel\\misc.txt"), ArchiveFixtures::Pattern(9000, 1)},
                                              {QStringLiteral("data\\global\\sfx\\hit.wav"), ArchiveFixtures::Pattern(20000, 2)}};
    const QStringList entries{Weapons, QStringLiteral("data\\global\\excel\\armor.txt"),
                              QStringLiteral("data\\global\\ui\\panel.dc6")};
    // The MOD folder's files, by name part.
    const QMap<QString, QByteArray> modFiles{{QStringLiteral("weapons.txt"), ArchiveFixtures::Pattern(70000, 3)},
                                             {QStringLiteral("armor.txt"), QByteArray("name\tcode\r\nTin Mail\ttin\r\n").repeated(40)},
                                             {QStringLiteral("panel.dc6"), ArchiveFixtures::Pattern(5000, 4)}};
    const QString expectedLog = QStringLiteral("Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                               "Adding data\\global\\excel\\armor.txt succeeded\r\n"
                                               "Adding data\\global\\ui\\panel.dc6 succeeded\r\n");
    CarvestoneSettings settings;
    const QString modFolder = fixtures.Path(QStringLiteral("Mods/Weapons/"));
    const QString modArchive = modFolder + QLatin1String("Weapons.mpq");
    QString project;
};

// Keeps the build log, and whether every piece came while the archive work
// was marked busy.
class RecordingLog : public BuildLog
{
public:
    void AppendLog(const QString& piece) override
    {
        text += piece;
        ++appends;
        busyWhileLogging = busyWhileLogging && ArchiveBusy::IsBusy();
    }
    QString text;
    int appends = 0;
    bool busyWhileLogging = true;
};

// Points the binding at another library for the life of the instance.
class LibraryOverride
{
public:
    explicit LibraryOverride(const QByteArray& name) { qputenv("CARVESTONE_MPQ_LIBRARY", name); }
    ~LibraryOverride() { qunsetenv("CARVESTONE_MPQ_LIBRARY"); }
    LibraryOverride(const LibraryOverride&) = delete;
    LibraryOverride& operator=(const LibraryOverride&) = delete;
};
