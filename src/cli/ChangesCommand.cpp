#include "ChangesCommand.h"

#include "archive/MpqLibrary.h"
#include "model/KeptOriginals.h"
#include "model/ProjectModel.h"

#include <QDir>
#include <QFileInfo>

bool ChangesCommand::ReadFromArchive(const QString& archive, const QStringList& names,
                                     QHash<QString, QByteArray>* found, CommandContext& context) const
{
    if (!RequireLibrary(context) || !RequireArchive(archive, context))
        return false;
    QString error;
    if (context.library.ReadFiles(archive, names, found, &error))
        return true;
    Fail(context, error);
    return false;
}

QString ChangesCommand::InArchive(const QString& entry, const QString& archive)
{
    return QStringLiteral("%1 in %2").arg(entry, QFileInfo(archive).fileName());
}

bool ChangesCommand::ReadOriginals(const ProjectModel& project, const QStringList& entries, const QString& archive,
                                   QHash<QString, Original>* originals, CommandContext& context) const
{
    const KeptOriginals kept(project.ProjectFolder());
    QStringList fromArchive;
    for (const QString& entry : entries) {
        QString error;
        const std::optional<QByteArray> bytes = kept.Read(entry, &error);
        if (!error.isEmpty()) {
            Fail(context, error);
            return false;
        }
        if (bytes)
            originals->insert(entry, {bytes, QDir::toNativeSeparators(kept.PathOf(entry))});
        else
            fromArchive.append(entry);
    }
    if (fromArchive.isEmpty())
        return true;
    if (archive.isEmpty()) {
        Fail(context, QStringLiteral("%1 has no kept original, and no game archive was named to compare it with: give "
                                     "the game archive on the command line or choose one in Carvestone's options")
                          .arg(fromArchive.first()));
        return false;
    }
    QHash<QString, QByteArray> found;
    if (!ReadFromArchive(archive, fromArchive, &found, context))
        return false;
    for (const QString& entry : fromArchive) {
        const auto copy = found.constFind(entry);
        originals->insert(entry, {copy == found.cend() ? std::nullopt : std::optional(*copy), InArchive(entry, archive)});
    }
    return true;
}
