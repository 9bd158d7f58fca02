#pragma once

#include "ArchiveListingCache.h"
#include "StormApi.h"

#include <QHash>
#include <QLibrary>
#include <QString>
#include <QStringList>

class BuildLog;
class ListingProgress;

// How far a build of an archive got.
enum class BuildOutcome {
    AllAdded,    // every file was added and the archive written
    SomeFailed,  // the archive was written, but some files are missing from it
    NotRun,      // the archive could not be opened, created or written
};

// The one binding to StormLib, loaded by name when an operation starts and
// released when it ends (counted, so a nested operation never unloads the
// library under an outer one).  A missing library or entry point makes every
// operation fail quietly with its false or empty result.
class MpqLibrary
{
public:
    static constexpr int ChunkSize = 0x40000;

    MpqLibrary();
    virtual ~MpqLibrary();
    MpqLibrary(const MpqLibrary&) = delete;
    MpqLibrary& operator=(const MpqLibrary&) = delete;

    // libstorm.so.9 (StormLib.dll on Windows), or CARVESTONE_MPQ_LIBRARY.
    static QString LibraryName();
    // The log line of a build that cannot load the library.
    static QString LoadFailure();

    bool Load();
    void Unload();
    bool IsLoaded() const { return loadCount > 0; }
    // Probes the library once per run; later calls answer from the probe.
    bool IsAvailable();

    // Whether the archive opens for reading (callers that must tell a
    // damaged archive from an empty listing ask first).  Every operation
    // refuses a file whose header or tables MpqHeaderCheck finds unsound
    // before the library sees it.
    bool CanOpenArchive(const QString& archivePath);
    // Fills result with the listing file's candidate names that the archive
    // holds, in listing order, and returns their count.  Results are cached
    // per archive path for the run.  With an empty path the result list is
    // left as it is.
    int ReadListing(const QString& archivePath, const QString& listingPath, QStringList& result,
                    ListingProgress* progress);
    // Copies one file out of an archive, into a folder (under its name part)
    // or to a file path.  An existing target is replaced only once the whole
    // file has been read and written.  On failure error (when given) names
    // the file and the cause.
    bool ExtractFile(const QString& archivePath, const QString& archiveName,
                     const QString& destination, bool destinationIsFolder, QString* error = nullptr);
    // Reads each named file whole into found, keyed by its name; a name the
    // archive does not hold is left out.  False, with error naming the file
    // and the cause, when the archive or one of the files cannot be read.
    bool ReadFiles(const QString& archivePath, const QStringList& names, QHash<QString, QByteArray>* found,
                   QString* error);
    // Adds each entry's file (the MOD folder's file named by the entry's name
    // part) to the archive under the entry's name, creating the archive when
    // there is no file at its path, and logs one line per entry; a failed
    // entry's line is followed by an indented line giving the cause.  The
    // names of the listing file (when given) are made known to the archive
    // first, so that files of an archive that keeps no names of its own can
    // be replaced and its hash table can grow.
    BuildOutcome BuildArchive(const QString& archivePath, const QString& modFolder,
                              const QStringList& entries, bool compress, BuildLog& log,
                              const QString& listingPath = {});

    const ArchiveListingCache& ListingCache() const { return listingCache; }

private:
    bool ResolveAll();
    // StormLib's open after the header check; reading never opens for writing.
    bool OpenArchive(const QString& archivePath, StormApi::Dword flags, StormApi::Handle* archive);
    // Empty when the entry was added, else the words of the cause.
    QString AddEntry(StormApi::Handle archive, const QString& modFolder, const QString& entry, bool compress,
                     bool& archiveFull);
    bool AddFileGrowingTable(StormApi::Handle archive, const QByteArray& diskPath,
                             const QByteArray& name, bool compress, bool& archiveFull);
    // Opening a file by name makes StormLib keep that name, which it needs
    // before it can replace the file.
    void LearnName(StormApi::Handle archive, const QByteArray& name);
    bool CopyOut(StormApi::Handle file, StormApi::Dword size, const QString& target, QString& error);
    bool ReadWhole(StormApi::Handle file, QByteArray* bytes);
    QString LibraryErrorText() const;

    QLibrary library;
    int loadCount = 0;
    bool probeResult = false;
    bool probeDone = false;
    ArchiveListingCache listingCache;
    StormApi api;
};
