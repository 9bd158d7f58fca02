#include "ProjectTarget.h"

#include "core/FileErrorText.h"
#include "core/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

const QString ClassicWord = QStringLiteral("classic");
const QString RemasterWord = QStringLiteral("remaster");

// A person who finds the file learns what it is for from its first line.
const QByteArray Explanation =
    "; Which game Carvestone builds this MOD for: classic (a patch archive) or remaster (a mod folder).\n";

} // namespace

QString ProjectTarget::SideFilePath(const QString& projectPath)
{
    const QFileInfo project(projectPath);
    const QString name = project.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    return project.path() + QLatin1Char('/') + base + QStringLiteral(".target");
}

QString ProjectTarget::Word(BuildTarget target)
{
    return target == BuildTarget::RemasterModFolder ? RemasterWord : ClassicWord;
}

bool ProjectTarget::FromWord(const QString& word, BuildTarget& target)
{
    if (word.compare(ClassicWord, Qt::CaseInsensitive) == 0)
        target = BuildTarget::ClassicPatchArchive;
    else if (word.compare(RemasterWord, Qt::CaseInsensitive) == 0)
        target = BuildTarget::RemasterModFolder;
    else
        return false;
    return true;
}

BuildTarget ProjectTarget::Read(const QString& projectPath, QString* problem)
{
    const QString path = SideFilePath(projectPath);
    const auto refuse = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return BuildTarget::ClassicPatchArchive;
    };
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return BuildTarget::ClassicPatchArchive;
    QFile file(path);
    errno = 0;
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return refuse(FileErrorText::ForDevice(file, info.isDir() ? EISDIR : errno, path));
    // A word and its explanation: anything longer was never written here.
    const QByteArray bytes = file.read(4096);
    QString word;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(';'))
            continue;
        if (!word.isEmpty())
            return refuse(QStringLiteral("%1 holds more than one word.").arg(QDir::toNativeSeparators(path)));
        word = QString::fromLatin1(trimmed);
    }
    BuildTarget target = BuildTarget::ClassicPatchArchive;
    if (!FromWord(word, target))
        return refuse(QStringLiteral("%1 does not say \"classic\" or \"remaster\".").arg(QDir::toNativeSeparators(path)));
    return target;
}

bool ProjectTarget::Write(const QString& projectPath, BuildTarget target, QString* error)
{
    const QString path = SideFilePath(projectPath);
    if (target == BuildTarget::RemasterModFolder)
        return SafeFileWriter::WriteFile(path, Explanation + RemasterWord.toLatin1() + '\n', error);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    errno = 0;
    if (!info.isDir() && file.remove())
        return true;
    if (error)
        *error = FileErrorText::ForDevice(file, info.isDir() ? EISDIR : errno, path);
    return false;
}
