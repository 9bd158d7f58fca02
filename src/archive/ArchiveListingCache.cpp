#include "ArchiveListingCache.h"

const QStringList* ArchiveListingCache::Find(const QString& archivePath) const
{
    const auto found = listings.constFind(archivePath);
    return found == listings.constEnd() ? nullptr : &found.value();
}

void ArchiveListingCache::Store(const QString& archivePath, const QStringList& names)
{
    listings.insert(archivePath, names);
}
