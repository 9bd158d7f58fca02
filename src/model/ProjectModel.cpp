#include "ProjectModel.h"

#include "ProjectEntry.h"
#include "core/FileErrorText.h"
#include "core/SafeFileWriter.h"
#include "core/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>

const QByteArray ProjectModel::Header = QByteArrayLiteral("Carvestone Project File Version 1.0");

namespace {

// A line ends at CR LF, at a lone LF or at a lone CR (files saved by old
// Mac editors).  A last line without an end still counts.
QList<QByteArray> SplitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype position = 0;
    while (position < bytes.size()) {
        const char byte = bytes[position];
        if (byte != '\n' && byte != '\r') {
            ++position;
            continue;
        }
        lines.append(bytes.mid(start, position - start));
        const bool crLf = byte == '\r' && position + 1 < bytes.size() && bytes[position + 1] == '\n';
        position += crLf ? 2 : 1;
        start = position;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

QString FolderOf(const QString& filePath)
{
    return QFileInfo(filePath).absolutePath() + QLatin1Char('/');
}

} // namespace

QByteArray ProjectModel::NewProjectFileBytes()
{
    return Header + "\r\n";
}

QString ProjectModel::Title() const
{
    return path.isEmpty() ? StringTable::Get(StringId::Untitled) : QFileInfo(path).fileName();
}

bool ProjectModel::CanHoldEntry(const QString& entry)
{
    if (entry.isEmpty() || entry.startsWith(QLatin1Char(';')))
        return false;
    return std::none_of(entry.begin(), entry.end(), [](QChar character) {
        return character == QLatin1Char('\n') || character == QLatin1Char('\r') || character.unicode() > 0xFF;
    });
}

bool ProjectModel::AddFile(const QString& entry)
{
    // An entry that would come back changed, split or as a comment would
    // silently leave the project at its next opening.
    if (!CanHoldEntry(entry))
        return false;
    auto position = fileList.begin();
    for (; position != fileList.end(); ++position) {
        const int order = QString::compare(*position, entry, Qt::CaseSensitive);
        if (order == 0)
            return false;
        if (order > 0)
            break;
    }
    fileList.insert(position, entry);
    modified = true;
    return true;
}

bool ProjectModel::RemoveFile(const QString& entry)
{
    if (!fileList.removeOne(entry))
        return false;
    modified = true;
    return true;
}

void ProjectModel::ReplaceFileList(const QStringList& entries)
{
    fileList.clear();
    // A set, not the list itself, tells the entries already taken: a list
    // of many thousand entries (a hostile record) would take seconds.
    QSet<QString> taken;
    for (const QString& entry : entries) {
        if (CanHoldEntry(entry) && !taken.contains(entry)) {
            taken.insert(entry);
            fileList.append(entry);
        }
    }
    modified = true;
}

void ProjectModel::Reset()
{
    fileList.clear();
    projectFolder.clear();
    path.clear();
    modified = false;
}

QByteArray ProjectModel::Serialize() const
{
    QByteArray bytes = Header + '\n';
    for (const QString& entry : fileList)
        bytes += entry.toLatin1() + '\n';
    return bytes;
}

bool ProjectModel::Parse(const QByteArray& bytes, QStringList& entries)
{
    const QList<QByteArray> lines = SplitLines(bytes);
    if (lines.isEmpty() || lines.first() != Header)
        return false;
    entries.clear();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i].isEmpty() && !lines[i].startsWith(';'))
            entries.append(QString::fromLatin1(lines[i]));
    }
    return true;
}

bool ProjectModel::Load(const QString& filePath, QString& error)
{
    if (QFileInfo(filePath).isDir()) {
        error = FileErrorText::ForErrno(EISDIR, filePath);
        return false;
    }
    QFile file(filePath);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        error = FileErrorText::ForDevice(file, errno, filePath);
        return false;
    }
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = FileErrorText::ForDevice(file, errno, filePath);
        return false;
    }
    QStringList entries;
    if (!bytes.isEmpty() && !Parse(bytes, entries)) {
        error = StringTable::Get(StringId::BadFormat).arg(QFileInfo(filePath).fileName());
        return false;
    }
    fileList = entries;
    SetPath(filePath, FolderOf(filePath));
    modified = false;
    return true;
}

bool ProjectModel::Write(const QString& filePath, QString& error) const
{
    // The new file replaces the old one by renaming, which a read-only file
    // would not stop: refuse it as writing into it would be refused.
    const QFileInfo existing(filePath);
    if (existing.exists() && (existing.isDir() || !existing.isWritable())) {
        error = FileErrorText::ForErrno(EACCES, filePath);
        return false;
    }
    if (!projectFolder.isEmpty())
        QDir().mkdir(projectFolder);
    return SafeFileWriter::WriteFile(filePath, Serialize(), &error);
}

void ProjectModel::SetPath(const QString& filePath, const QString& folder)
{
    path = filePath.isEmpty() ? QString() : QFileInfo(filePath).absoluteFilePath();
    projectFolder = folder;
}

QStringList ProjectModel::EntriesWithoutDiskFile() const
{
    QStringList unsafe;
    for (const QString& entry : fileList) {
        if (!ProjectEntry::IsPlainFileName(ProjectEntry::NamePart(entry)))
            unsafe.append(entry);
    }
    return unsafe;
}

bool ProjectModel::CreateNewFile(const QString& filePath, QString& error)
{
    QFile file(filePath);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        error = FileErrorText::ForDevice(file, errno, filePath);
        return false;
    }
    errno = 0;
    const QByteArray bytes = NewProjectFileBytes();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        error = FileErrorText::ForDevice(file, errno, filePath);
        file.close();
        file.remove();
        return false;
    }
    return true;
}
