#pragma once

#include <cstdint>

// The StormLib entry points the program calls, as function pointers resolved
// at run time, with the few constants it passes.  StormLib's own header is
// not included: it drags Windows-style type names into every file.
struct StormApi
{
    using Handle = void*;
    using Dword = std::uint32_t;

    static constexpr Dword OpenReadOnly = 0x00000100;          // MPQ_OPEN_READ_ONLY
    static constexpr Dword CreateArchiveV1 = 0x00000000;       // MPQ_CREATE_ARCHIVE_V1
    static constexpr Dword CreateListFile = 0x00100000;        // MPQ_CREATE_LISTFILE
    static constexpr Dword FileCompress = 0x00000200;          // MPQ_FILE_COMPRESS
    static constexpr Dword FileEncrypted = 0x00010000;         // MPQ_FILE_ENCRYPTED
    static constexpr Dword FileReplaceExisting = 0x80000000;   // MPQ_FILE_REPLACEEXISTING
    static constexpr Dword CompressionPkware = 0x08;           // MPQ_COMPRESSION_PKWARE
    static constexpr Dword CompressionNextSame = 0xFFFFFFFF;   // MPQ_COMPRESSION_NEXT_SAME
    static constexpr Dword OpenFromMpq = 0x00000000;           // SFILE_OPEN_FROM_MPQ
    static constexpr Dword InvalidSize = 0xFFFFFFFF;           // SFILE_INVALID_SIZE
    // SFileAddFileEx reports a hash table without a free slot as a full disk.
    static constexpr Dword ErrorDiskFull = 28;
    // StormLib's own error codes on Linux (ERROR_BAD_FORMAT ... ERROR_FILE_CORRUPT).
    static constexpr Dword ErrorBadFormat = 1000;
    static constexpr Dword ErrorHandleEof = 1002;
    static constexpr Dword ErrorCannotComplete = 1003;
    static constexpr Dword ErrorFileCorrupt = 1004;
    // The largest hash table StormLib builds.
    static constexpr Dword MaxHashTableSize = 0x00080000;

    bool (*OpenArchive)(const char* path, Dword priority, Dword flags, Handle* archive) = nullptr;
    bool (*CreateArchive)(const char* path, Dword flags, Dword maxFileCount, Handle* archive) = nullptr;
    bool (*CloseArchive)(Handle archive) = nullptr;
    bool (*AddFileEx)(Handle archive, const char* diskPath, const char* name, Dword flags,
                      Dword compression, Dword compressionNext) = nullptr;
    bool (*RemoveFile)(Handle archive, const char* name, Dword scope) = nullptr;
    Dword (*GetMaxFileCount)(Handle archive) = nullptr;
    bool (*SetMaxFileCount)(Handle archive, Dword maxFileCount) = nullptr;
    bool (*OpenFileEx)(Handle archive, const char* name, Dword scope, Handle* file) = nullptr;
    Dword (*GetFileSize)(Handle file, Dword* sizeHigh) = nullptr;
    bool (*ReadFile)(Handle file, void* buffer, Dword toRead, Dword* read, void* overlapped) = nullptr;
    bool (*CloseFile)(Handle file) = nullptr;
    // Answers 0 (ERROR_SUCCESS) or an error code, not a bool.
    int (*AddListFile)(Handle archive, const char* listingPath) = nullptr;
    Dword (*GetLastError)() = nullptr;
};
