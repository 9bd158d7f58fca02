#pragma once

#include <QByteArrayView>
#include <QString>

// Looks at an archive's header and table bounds before StormLib sees the
// file.  StormLib trusts what a header says: a sector-size shift that makes
// the sector size overflow divides by zero, a table count far beyond the
// file makes it allocate gigabytes, and tables outside the file feed it
// garbage.  A modder opens archives from anywhere, so such a file must be
// refused with a message, never handed to the library.
class MpqHeaderCheck
{
public:
    // Sectors larger than 32 MiB are made by no archiver; StormLib's sector
    // arithmetic overflows long before the format's 16-bit field runs out.
    static constexpr int MaxSectorShift = 16;

    // Whether the file holds an MPQ header whose tables lie inside the file.
    static bool IsSound(const QString& archivePath);
    // The same for the bytes of a whole archive file.
    static bool IsSoundImage(QByteArrayView file);
    // "<path> is damaged or is not an MPQ archive."
    static QString DamagedMessage(const QString& archivePath);

private:
    static bool IsSoundHeaderAt(QByteArrayView file, qint64 offset);
};
