#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <optional>

// Fixtures for archive tests: files in a temporary folder, archives made by
// smpq (StormLib's own archiver, as independent of our binding as a peer can
// be), and a reader of an archive's tables that tells how a file was stored.
class ArchiveFixtures
{
public:
    struct StoredFile
    {
        std::uint32_t compressedSize;
        std::uint32_t fileSize;
        std::uint32_t flags;
    };
    static constexpr std::uint32_t FlagCompress = 0x00000200;
    static constexpr std::uint32_t FlagEncrypted = 0x00010000;

    ArchiveFixtures();

    bool IsValid() const { return folder.isValid(); }
    QString Path(const QString& relative) const { return folder.filePath(relative); }
    QString Write(const QString& relative, const QByteArray& bytes) const;
    static QByteArray Read(const QString& path);
    static QByteArray Pattern(qsizetype size, int seed);

    static bool HasSmpq();
    // Makes an archive the way the game's archives look: version 1, PKWARE,
    // encrypted.  Keys are archive names (backslashes), values the contents.
    QString MakeGameArchive(const QString& relative, const QMap<QString, QByteArray>& files,
                            const QStringList& extraOptions = {}) const;
    // Names as smpq lists them, with backslashes.
    static QStringList SmpqList(const QString& archive);
    // The bytes smpq extracts for a name; nullopt when it cannot.
    std::optional<QByteArray> SmpqExtract(const QString& archive, const QString& name) const;
    // The block table record of a name, read straight from the archive file.
    static std::optional<StoredFile> StoredFileOf(const QString& archive, const QString& name);
    // Maximum file count of an archive as smpq reports it.
    static int SmpqMaxFileCount(const QString& archive);

private:
    static bool RunSmpq(const QStringList& arguments, const QString& workingFolder, QByteArray* output);
    QTemporaryDir folder;
};
