#pragma once

#include "ArchiveCommand.h"

#include <QHash>

#include <optional>

class ProjectModel;

// What diff and rebase share: the original each MOD file is measured
// against.  That is the original kept when the file entered the MOD, else
// the file of the same name in a game archive; a file in neither has none.
class ChangesCommand : public ArchiveCommand
{
protected:
    using ArchiveCommand::ArchiveCommand;

    struct Original
    {
        std::optional<QByteArray> bytes;
        QString name; // where the bytes come from, for messages
    };

    // Fills originals for every entry; archive (may be empty when every
    // entry has a kept original) answers for those without.  False after
    // saying why when an original or the archive cannot be read.
    bool ReadOriginals(const ProjectModel& project, const QStringList& entries, const QString& archive,
                       QHash<QString, Original>* originals, CommandContext& context) const;
    // The named files of an archive (see MpqLibrary::ReadFiles), after the
    // checks every archive passes; false after saying why.
    bool ReadFromArchive(const QString& archive, const QStringList& names, QHash<QString, QByteArray>* found,
                         CommandContext& context) const;
    // "data\x.txt in patch_d2.mpq".
    static QString InArchive(const QString& entry, const QString& archive);
};
