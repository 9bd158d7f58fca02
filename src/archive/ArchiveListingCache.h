#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The names found in each archive listed during this run, keyed by the
// archive path exactly as it was passed (case matters).  Never refreshed:
// showing an archive a second time costs nothing.
class ArchiveListingCache
{
public:
    // The cached names of the archive, or nullptr when it was never listed.
    const QStringList* Find(const QString& archivePath) const;
    void Store(const QString& archivePath, const QStringList& names);

private:
    QHash<QString, QStringList> listings;
};
