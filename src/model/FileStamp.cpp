#include "FileStamp.h"

#include <QDateTime>
#include <QFileInfo>

FileStamp FileStamp::Of(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}
