#include "MpqLibrary.h"

#include "ArchiveBusy.h"
#include "BuildLog.h"
#include "ListingLineReader.h"
#include "ListingProgress.h"
#include "MpqHeaderCheck.h"
#include "core/CarvestoneSettings.h"
#include "core/SafeFileWriter.h"
#include "model/ProjectEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Keeps the library loaded for one operation and releases it on every way
// out of that operation.
class LoadedLibrary
{
public:
    explicit LoadedLibrary(MpqLibrary& library)
        : library(library)
        , loaded(library.Load())
    {
    }
    ~LoadedLibrary()
    {
        if (loaded)
            library.Unload();
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    bool Loaded() const { return loaded; }

private:
    MpqLibrary& library;
    bool loaded;
};

// Closes an archive or file handle on every way out of a scope.
class StormHandle
{
public:
    using Closer = bool (*)(StormApi::Handle);
    StormHandle(Closer closer)
        : closer(closer)
    {
    }
    ~StormHandle()
    {
        if (handle)
            closer(handle);
    }
    StormHandle(const StormHandle&) = delete;
    StormHandle& operator=(const StormHandle&) = delete;
    StormApi::Handle* Out() { return &handle; }
    StormApi::Handle Get() const { return handle; }
    // Closes now and answers whether the close succeeded.
    bool Close()
    {
        const bool closed = closer(handle);
        handle = nullptr;
        return closed;
    }

private:
    Closer closer;
    StormApi::Handle handle = nullptr;
};

int ClampToInt(qint64 value)
{
    return int(std::min<qint64>(value, std::numeric_limits<int>::max()));
}

template <typename Function>
bool Resolve(QLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

#ifdef Q_OS_WIN
StormApi::Dword WindowsLastError()
{
    return ::GetLastError();
}
#endif

} // namespace

MpqLibrary::MpqLibrary() = default;

MpqLibrary::~MpqLibrary()
{
    if (loadCount > 0) {
        loadCount = 1;
        Unload();
    }
}

QString MpqLibrary::LibraryName()
{
    const QString chosen = qEnvironmentVariable("CARVESTONE_MPQ_LIBRARY");
    if (!chosen.isEmpty())
        return chosen;
#ifdef Q_OS_WIN
    return QStringLiteral("StormLib.dll");
#else
    return QStringLiteral("libstorm.so.9");
#endif
}

QString MpqLibrary::LoadFailure()
{
    return QStringLiteral("Cannot load the archive library %1").arg(LibraryName());
}

bool MpqLibrary::Load()
{
    if (loadCount > 0) {
        ++loadCount;
        return true;
    }
    library.setFileName(LibraryName());
    if (!library.load())
        return false;
    if (!ResolveAll()) {
        api = StormApi{};
        library.unload();
        return false;
    }
    loadCount = 1;
    return true;
}

void MpqLibrary::Unload()
{
    if (loadCount == 0 || --loadCount > 0)
        return;
    api = StormApi{};
    library.unload();
}

bool MpqLibrary::IsAvailable()
{
    if (!probeDone) {
        probeResult = Load();
        if (probeResult)
            Unload();
        probeDone = true;
    }
    return probeResult;
}

bool MpqLibrary::ResolveAll()
{
    bool all = Resolve(library, "SFileOpenArchive", api.OpenArchive);
    all = Resolve(library, "SFileCreateArchive", api.CreateArchive) && all;
    all = Resolve(library, "SFileCloseArchive", api.CloseArchive) && all;
    all = Resolve(library, "SFileAddFileEx", api.AddFileEx) && all;
    all = Resolve(library, "SFileRemoveFile", api.RemoveFile) && all;
    all = Resolve(library, "SFileGetMaxFileCount", api.GetMaxFileCount) && all;
    all = Resolve(library, "SFileSetMaxFileCount", api.SetMaxFileCount) && all;
    all = Resolve(library, "SFileOpenFileEx", api.OpenFileEx) && all;
    all = Resolve(library, "SFileGetFileSize", api.GetFileSize) && all;
    all = Resolve(library, "SFileReadFile", api.ReadFile) && all;
    all = Resolve(library, "SFileCloseFile", api.CloseFile) && all;
    all = Resolve(library, "SFileAddListFile", api.AddListFile) && all;
#ifdef Q_OS_WIN
    api.GetLastError = WindowsLastError;
#else
    all = Resolve(library, "GetLastError", api.GetLastError) && all;
#endif
    return all;
}

bool MpqLibrary::OpenArchive(const QString& archivePath, StormApi::Dword flags, StormApi::Handle* archive)
{
    return !archivePath.isEmpty() && MpqHeaderCheck::IsSound(archivePath)
        && api.OpenArchive(QFile::encodeName(archivePath).constData(), 0, flags, archive);
}

bool MpqLibrary::CanOpenArchive(const QString& archivePath)
{
    LoadedLibrary loaded(*this);
    StormHandle archive(api.CloseArchive);
    return loaded.Loaded() && OpenArchive(archivePath, StormApi::OpenReadOnly, archive.Out());
}

int MpqLibrary::ReadListing(const QString& archivePath, const QString& listingPath,
                            QStringList& result, ListingProgress* progress)
{
    if (archivePath.isEmpty() || listingPath.isEmpty())
        return int(result.size());
    const QStringList* cached = listingCache.Find(archivePath);
    result.clear();
    if (cached) {
        result = *cached;
        return int(result.size());
    }

    ArchiveBusy busy;
    LoadedLibrary loaded(*this);
    if (!loaded.Loaded())
        return 0;
    StormHandle archive(api.CloseArchive);
    if (!OpenArchive(archivePath, StormApi::OpenReadOnly, archive.Out()))
        return 0;
    QFile listing(listingPath);
    if (!listing.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = listing.readAll();
    if (text.size() != listing.size())
        return 0;

    if (progress)
        progress->SetRange(0, ClampToInt(text.size()));
    ListingLineReader reader(text);
    QByteArray name;   // one buffer for every line: StormLib wants an ended string
    while (reader.Next()) {
        if (reader.IsCandidate()) {
            name.resize(0);
            name.append(reader.Line());
            StormHandle file(api.CloseFile);
            if (api.OpenFileEx(archive.Get(), name.constData(), StormApi::OpenFromMpq, file.Out()))
                result.append(QString::fromLatin1(name));
        }
        if (progress) {
            progress->SetPosition(ClampToInt(reader.NextLineStart()));
            progress->ProcessEvents();
        }
    }
    listingCache.Store(archivePath, result);
    return int(result.size());
}

bool MpqLibrary::ExtractFile(const QString& archivePath, const QString& archiveName,
                             const QString& destination, bool destinationIsFolder, QString* error)
{
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (archivePath.isEmpty() || archiveName.isEmpty() || destination.isEmpty())
        return fail(QStringLiteral("no archive, name or destination was given"));
    const QString target = destinationIsFolder
        ? ProjectEntry::DiskPath(CarvestoneSettings::FolderWithSlash(destination), archiveName)
        : destination;
    if (target.isEmpty())
        return fail(QStringLiteral("%1 is not a plain file name").arg(ProjectEntry::NamePart(archiveName)));
    if (QFileInfo(target).isDir())
        return fail(QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(target)));

    ArchiveBusy busy;
    LoadedLibrary loaded(*this);
    if (!loaded.Loaded())
        return fail(LoadFailure());
    StormHandle archive(api.CloseArchive);
    if (!OpenArchive(archivePath, StormApi::OpenReadOnly, archive.Out()))
        return fail(MpqHeaderCheck::DamagedMessage(archivePath));
    StormHandle file(api.CloseFile);
    if (!api.OpenFileEx(archive.Get(), archiveName.toLatin1().constData(), StormApi::OpenFromMpq,
                        file.Out()))
        return fail(QStringLiteral("%1 is not in %2").arg(archiveName, QDir::toNativeSeparators(archivePath)));
    const StormApi::Dword size = api.GetFileSize(file.Get(), nullptr);
    if (size == 0 || size == StormApi::InvalidSize)
        return fail(QStringLiteral("%1 is empty in %2").arg(archiveName, QDir::toNativeSeparators(archivePath)));
    QString copyError;
    return CopyOut(file.Get(), size, target, copyError) || fail(copyError);
}

bool MpqLibrary::ReadFiles(const QString& archivePath, const QStringList& names, QHash<QString, QByteArray>* found,
                           QString* error)
{
    ArchiveBusy busy;
    LoadedLibrary loaded(*this);
    if (!loaded.Loaded()) {
        *error = LoadFailure();
        return false;
    }
    StormHandle archive(api.CloseArchive);
    if (!OpenArchive(archivePath, StormApi::OpenReadOnly, archive.Out())) {
        *error = MpqHeaderCheck::DamagedMessage(archivePath);
        return false;
    }
    for (const QString& name : names) {
        StormHandle file(api.CloseFile);
        if (!api.OpenFileEx(archive.Get(), name.toLatin1().constData(), StormApi::OpenFromMpq, file.Out()))
            continue;
        QByteArray bytes;
        if (!ReadWhole(file.Get(), &bytes)) {
            *error = QStringLiteral("the archive %1 is damaged: %2 cannot be read whole")
                         .arg(QDir::toNativeSeparators(archivePath), name);
            return false;
        }
        found->insert(name, bytes);
    }
    return true;
}

bool MpqLibrary::ReadWhole(StormApi::Handle file, QByteArray* bytes)
{
    // No file of the game comes near this; a damaged archive may claim more.
    constexpr StormApi::Dword Largest = StormApi::Dword(256) << 20;
    const StormApi::Dword size = api.GetFileSize(file, nullptr);
    if (size == StormApi::InvalidSize || size > Largest)
        return false;
    bytes->resize(qsizetype(size));
    StormApi::Dword read = 0;
    return size == 0 || (api.ReadFile(file, bytes->data(), size, &read, nullptr) && read == size);
}

bool MpqLibrary::CopyOut(StormApi::Handle file, StormApi::Dword size, const QString& target, QString& error)
{
    // The old file stays whole until every byte of the new one is on disk.
    SafeFileWriter output(target);
    StormApi::Dword chunk = std::min<StormApi::Dword>(size, ChunkSize);
    auto buffer = std::make_unique<char[]>(chunk);
    StormApi::Dword remaining = size;
    bool written = output.Open();
    while (written && remaining > 0) {
        StormApi::Dword read = 0;
        if (!api.ReadFile(file, buffer.get(), chunk, &read, nullptr) || read != chunk) {
            error = QStringLiteral("the archive is damaged: %1 cannot be read whole").arg(QFileInfo(target).fileName());
            return false;
        }
        written = output.Write(buffer.get(), chunk);
        remaining -= chunk;
        chunk = std::min(chunk, remaining);
    }
    if (written && output.Commit())
        return true;
    error = output.ErrorText();
    return false;
}

BuildOutcome MpqLibrary::BuildArchive(const QString& archivePath, const QString& modFolder,
                                      const QStringList& entries, bool compress, BuildLog& log,
                                      const QString& listingPath)
{
    if (archivePath.isEmpty() || modFolder.isEmpty() || entries.isEmpty())
        return BuildOutcome::NotRun;
    ArchiveBusy busy;
    LoadedLibrary loaded(*this);
    if (!loaded.Loaded()) {
        log.AppendLogLine(LoadFailure());
        return BuildOutcome::NotRun;
    }
    const bool exists = QFileInfo::exists(archivePath);
    if (exists && !MpqHeaderCheck::IsSound(archivePath)) {
        log.AppendLogLine(MpqHeaderCheck::DamagedMessage(archivePath));
        return BuildOutcome::NotRun;
    }
    StormHandle archive(api.CloseArchive);
    // An existing file is only ever opened: a damaged one must never be
    // replaced by an archive holding nothing but the MOD's files.
    const bool opened = exists
        ? OpenArchive(archivePath, 0, archive.Out())
        : api.CreateArchive(QFile::encodeName(archivePath).constData(),
                            StormApi::CreateArchiveV1 | StormApi::CreateListFile, 1000, archive.Out());
    if (!opened) {
        // The path may be the build's working copy: the caller names the archive.
        log.AppendLogLine(QStringLiteral("Cannot open or create the MOD archive: %1").arg(LibraryErrorText()));
        return BuildOutcome::NotRun;
    }
    if (!listingPath.isEmpty() && QFileInfo(listingPath).isFile())
        api.AddListFile(archive.Get(), QFile::encodeName(listingPath).constData());

    bool allAdded = true;
    bool archiveFull = false;
    for (const QString& entry : entries) {
        allAdded = log.AppendEntryLine(entry, [&] {
            return AddEntry(archive.Get(), modFolder, entry, compress, archiveFull);
        }) && allAdded;
    }
    if (!archive.Close()) {
        log.AppendLogLine(QStringLiteral("Cannot write the MOD archive: %1").arg(LibraryErrorText()));
        return BuildOutcome::NotRun;
    }
    return allAdded ? BuildOutcome::AllAdded : BuildOutcome::SomeFailed;
}

QString MpqLibrary::AddEntry(StormApi::Handle archive, const QString& modFolder, const QString& entry,
                             bool compress, bool& archiveFull)
{
    const QString full = QStringLiteral("the archive is full");
    if (archiveFull)
        return full;
    QString diskPath;
    const QString problem = ProjectEntry::DiskFileProblem(modFolder, entry, diskPath);
    if (!problem.isEmpty())
        return problem;
    const QByteArray name = entry.toLatin1();
    LearnName(archive, name);
    if (AddFileGrowingTable(archive, QFile::encodeName(diskPath), name, compress, archiveFull))
        return {};
    return archiveFull ? full : LibraryErrorText();
}

void MpqLibrary::LearnName(StormApi::Handle archive, const QByteArray& name)
{
    StormHandle file(api.CloseFile);
    api.OpenFileEx(archive, name.constData(), StormApi::OpenFromMpq, file.Out());
}

QString MpqLibrary::LibraryErrorText() const
{
    const StormApi::Dword code = api.GetLastError();
    switch (code) {
    case StormApi::ErrorDiskFull:
        return QStringLiteral("the disk is full");
    case StormApi::ErrorBadFormat:
    case StormApi::ErrorFileCorrupt:
        return QStringLiteral("the archive is damaged");
    case StormApi::ErrorHandleEof:
        return QStringLiteral("the file ended before all of it was read");
    case StormApi::ErrorCannotComplete:
        return QStringLiteral("the archive library could not complete the work");
    default:
        break;
    }
    if (code > 0 && code < StormApi::ErrorBadFormat)
        return QString::fromLocal8Bit(std::strerror(int(code))).toLower();
    return QStringLiteral("the archive library reports error %1").arg(code);
}

bool MpqLibrary::AddFileGrowingTable(StormApi::Handle archive, const QByteArray& diskPath,
                                     const QByteArray& name, bool compress, bool& archiveFull)
{
    const StormApi::Dword flags = compress
        ? StormApi::FileCompress | StormApi::FileEncrypted | StormApi::FileReplaceExisting
        : StormApi::FileReplaceExisting;
    const StormApi::Dword compression = compress ? StormApi::CompressionPkware : 0;
    const StormApi::Dword next = compress ? StormApi::CompressionNextSame : 0;
    const auto add = [&] {
        return api.AddFileEx(archive, diskPath.constData(), name.constData(), flags, compression, next);
    };
    if (add())
        return true;
    if (api.GetLastError() != StormApi::ErrorDiskFull)
        return false;
    // No free slot in the hash table: grow it and try once more.
    const StormApi::Dword current = api.GetMaxFileCount(archive);
    const StormApi::Dword grown = std::max<StormApi::Dword>(current * 2, 16);
    if (grown > StormApi::MaxHashTableSize || !api.SetMaxFileCount(archive, grown)) {
        archiveFull = true;
        return false;
    }
    return add();
}
