#include "OptionsPathRules.h"

#include "core/FileErrorText.h"
#include "core/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

bool IsSeparator(QChar character)
{
    return character == QLatin1Char('/') || character == QLatin1Char('\\');
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString OptionsPathRules::ShownModsPath(const QString& stored)
{
    QString shown = stored;
    while (shown.size() > 1 && IsSeparator(shown.back()))
        shown.chop(1);
    return Native(shown);
}

QString OptionsPathRules::MpqPathProblem(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return StringTable::Get(StringId::MpqPathEmpty);
    if (!QFileInfo(QDir::fromNativeSeparators(typed)).isFile())
        return MessageText(StringId::MpqPathNoFile, typed);
    return {};
}

QString OptionsPathRules::PrepareModsFolder(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return StringTable::Get(StringId::ModsPathEmpty);
    const QString folder = QDir::fromNativeSeparators(typed);
    if (!QDir::isAbsolutePath(folder))
        return MessageText(StringId::ModsPathNotFull, typed);
    std::error_code failure;
    std::filesystem::create_directories(folder.toStdString(), failure);
    if (failure || !QFileInfo(folder).isDir()) {
        const int cause = failure ? failure.value() : ENOTDIR;
        return MessageText(StringId::ModsFolderUnusable, typed, FileErrorText::ForErrno(cause, folder));
    }
    QString problem;
    if (!IsWritableFolder(folder, &problem))
        return MessageText(StringId::ModsFolderUnusable, typed, problem);
    return {};
}

QString OptionsPathRules::FirstRunModsPath(const QString& programFolder)
{
    if (IsWritableFolder(programFolder))
        return programFolder + QStringLiteral("MODs/");
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Carvestone/MODs/");
}

QString OptionsPathRules::SafeKeepingFolder(const QString& programFolder, const QString& settingsFile)
{
    if (IsWritableFolder(programFolder))
        return programFolder;
    return QFileInfo(settingsFile).absolutePath() + QLatin1Char('/');
}

bool OptionsPathRules::IsWritableFolder(const QString& folder, QString* problem)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".carvestone-write-test-XXXXXX")));
    errno = 0;
    // One byte as well: an empty file still fits on a full disk.
    if (probe.open() && probe.putChar('x') && probe.flush())
        return true;
    if (problem)
        *problem = FileErrorText::ForDevice(probe, errno, folder);
    return false;
}

QString OptionsPathRules::MessageText(int stringId, const QString& path, const QString& cause)
{
    QString text = StringTable::Get(stringId).arg(Native(QDir::fromNativeSeparators(path)));
    return cause.isEmpty() ? text : text.arg(cause);
}
