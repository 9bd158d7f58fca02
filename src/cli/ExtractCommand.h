#pragma once

#include "ArchiveCommand.h"

#include <QByteArray>
#include <QHash>

// extract ARCHIVE NAME... DEST: files out of an archive or a folder of
// extracted game data.
class ExtractCommand : public ArchiveCommand
{
public:
    ExtractCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    // The named files of an archive or a folder of extracted game data; a
    // name the source lacks is left out of found.
    static bool ReadFiles(const QString& source, const QStringList& names, QHash<QString, QByteArray>* found,
                          QString* error, CommandContext& context);
    // Several names, or names the archive may lack, into the folder DEST.
    int ExtractInto(const QString& archive, const QStringList& names, const QString& folder, bool missingOk,
                    CommandContext& context) const;
};
