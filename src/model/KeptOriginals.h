#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The bytes each MOD file came with when it entered the MOD from an
// archive: what "changed" is measured against.  They lie in a hidden folder
// of the project folder, .carvestone/originals, under the entry's name
// part, so the MOD's own files and the project file stay as older versions
// of the program know them.  Paths go through ProjectEntry::DiskPath, so a
// name from a project file never leaves that folder.
class KeptOriginals
{
public:
    static const QString FolderName; // ".carvestone/originals"

    explicit KeptOriginals(QString projectFolder) : projectFolder(std::move(projectFolder)) {}

    // The original's path; empty for a name that cannot be a file there.
    QString PathOf(const QString& entry) const;
    bool Has(const QString& entry) const;
    // The original's bytes; none when there is none or it cannot be read
    // (error then names the file and the cause).
    std::optional<QByteArray> Read(const QString& entry, QString* error = nullptr) const;

    // Keeps a copy of the file at source as the entry's original, replacing
    // an older one whole or not at all.
    bool KeepCopyOf(const QString& entry, const QString& source, QString* error) const;
    bool Keep(const QString& entry, const QByteArray& bytes, QString* error) const;
    // The entry has no original any more (its file came from disk).
    bool Forget(const QString& entry, QString* error) const;

private:
    QString projectFolder;
};
