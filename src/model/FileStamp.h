#pragma once

#include <QString>

// A file's size and last change, enough to notice that another program
// wrote it since the stamp was taken.
struct FileStamp
{
    qint64 size = -1; // -1: there was no file
    qint64 time = 0;  // ms since 1970 (UTC)

    static FileStamp Of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};
