#pragma once

#include "ArchiveCommand.h"

// extract ARCHIVE NAME... DEST: files out of an archive.
class ExtractCommand : public ArchiveCommand
{
public:
    ExtractCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    // Several names, or names the archive may lack, into the folder DEST.
    int ExtractInto(const QString& archive, const QStringList& names, const QString& folder, bool missingOk,
                    CommandContext& context) const;
};
