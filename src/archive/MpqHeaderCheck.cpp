#include "MpqHeaderCheck.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

constexpr qint64 HeaderAlignment = 512;
constexpr qint64 TableEntrySize = 16;
constexpr qint64 HeaderSizeV1 = 32;
constexpr qint64 HeaderSizeV2 = 44;
constexpr int LastFormatVersion = 3;
const QByteArrayView ArchiveSignature("MPQ\x1A", 4);
const QByteArrayView UserDataSignature("MPQ\x1B", 4);

quint32 Dword(QByteArrayView bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

quint16 Word(QByteArrayView bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

bool HasSignature(QByteArrayView file, qint64 offset, QByteArrayView signature)
{
    return offset >= 0 && offset + 4 <= file.size() && file.sliced(offset, 4) == signature;
}

// A table of count entries of entrySize bytes at position (from the
// archive's start) lies wholly inside the archive's part of the file.
bool TableFits(qint64 position, quint64 count, qint64 entrySize, qint64 room)
{
    if (position < 0 || position > room)
        return false;
    return count <= quint64(room - position) / quint64(entrySize);
}

} // namespace

bool MpqHeaderCheck::IsSound(const QString& archivePath)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() < HeaderSizeV1)
        return false;
    const uchar* mapped = file.map(0, file.size());
    if (mapped)
        return IsSoundImage(QByteArrayView(mapped, file.size()));
    return IsSoundImage(file.readAll());
}

bool MpqHeaderCheck::IsSoundImage(QByteArrayView file)
{
    // The archive may follow other data (an installer, a user-data block);
    // StormLib looks for it at every 512-byte boundary and takes the first.
    for (qint64 offset = 0; offset + 4 <= file.size(); offset += HeaderAlignment) {
        if (HasSignature(file, offset, ArchiveSignature))
            return IsSoundHeaderAt(file, offset);
        if (HasSignature(file, offset, UserDataSignature)) {
            if (offset + 12 > file.size())
                return false;
            const qint64 header = offset + qint64(Dword(file, offset + 8));
            return HasSignature(file, header, ArchiveSignature) && IsSoundHeaderAt(file, header);
        }
    }
    return false;
}

bool MpqHeaderCheck::IsSoundHeaderAt(QByteArrayView file, qint64 offset)
{
    const qint64 room = file.size() - offset;
    if (room < HeaderSizeV1)
        return false;
    const qint64 headerSize = Dword(file, offset + 4);
    const int version = Word(file, offset + 12);
    const int sectorShift = Word(file, offset + 14);
    if (version > LastFormatVersion || headerSize < HeaderSizeV1 || headerSize > room)
        return false;
    if (sectorShift > MaxSectorShift)
        return false;
    const bool hasHighWords = version >= 1 && headerSize >= HeaderSizeV2;
    const qint64 hashHigh = hasHighWords ? qint64(Word(file, offset + 40)) << 32 : 0;
    const qint64 blockHigh = hasHighWords ? qint64(Word(file, offset + 42)) << 32 : 0;
    const qint64 hashPosition = hashHigh | Dword(file, offset + 16);
    const qint64 blockPosition = blockHigh | Dword(file, offset + 20);
    const quint32 hashCount = Dword(file, offset + 24);
    const quint32 blockCount = Dword(file, offset + 28);
    if (hashCount == 0 || !TableFits(hashPosition, hashCount, TableEntrySize, room))
        return false;
    if (!TableFits(blockPosition, blockCount, TableEntrySize, room))
        return false;
    if (hasHighWords) {
        // The high words of the block positions: two bytes per block.
        const quint64 highTable = qFromLittleEndian<quint64>(file.data() + offset + 32);
        if (highTable != 0 && (highTable > quint64(room) || !TableFits(qint64(highTable), blockCount, 2, room)))
            return false;
    }
    return true;
}

QString MpqHeaderCheck::DamagedMessage(const QString& archivePath)
{
    return QStringLiteral("%1 is damaged or is not an MPQ archive.").arg(QDir::toNativeSeparators(archivePath));
}
