#include "ExtractedDataRule.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

const QStringList GameDataFolders = {QStringLiteral("global"), QStringLiteral("local"), QStringLiteral("hd")};

bool IsFolder(const QString& folder, const QString& name)
{
    const QString found = ExtractedDataRule::EntryIgnoringCase(folder, name);
    return !found.isEmpty() && QFileInfo(QDir(folder).filePath(found)).isDir();
}

} // namespace

QString ExtractedDataRule::EntryIgnoringCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

QString ExtractedDataRule::DataFolderOf(const QString& path)
{
    return IsFolder(path, QStringLiteral("data"))
        ? QDir(path).filePath(EntryIgnoringCase(path, QStringLiteral("data")))
        : QString();
}

bool ExtractedDataRule::IsExtractedData(const QString& path)
{
    const QString data = DataFolderOf(path);
    return !data.isEmpty() && std::any_of(GameDataFolders.begin(), GameDataFolders.end(),
                                          [&data](const QString& name) { return IsFolder(data, name); });
}

QString ExtractedDataRule::Problem(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isDir())
        return QStringLiteral("%1 is not a folder.").arg(shown);
    if (!IsExtractedData(path))
        return QStringLiteral("%1 is not a folder of extracted game data: it holds no data folder with the game's "
                              "global, local or hd folders.")
            .arg(shown);
    return {};
}
