#pragma once

#include "Command.h"

#include "model/RecoveryFolder.h"

// recovery [--save-to DIR] [--discard]: the unsaved work that programs
// which ended without saving left in recovery records, for a machine
// without a screen or a script: listed, written out as files, or removed.
class RecoveryCommand : public Command
{
public:
    RecoveryCommand();

protected:
    int Execute(const QCommandLineParser& parsed, CommandContext& context) override;

private:
    void List(const RecoveryFolder::Claim& claim, CommandContext& context) const;
    bool SaveTo(const QString& folder, const RecoveryRecord& record, CommandContext& context) const;
    bool WriteNew(const QString& folder, const QString& name, const QByteArray& bytes, CommandContext& context) const;
};
