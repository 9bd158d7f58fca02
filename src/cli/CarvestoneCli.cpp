#include "CarvestoneCli.h"

#include "AddCommand.h"
#include "BuildCommand.h"
#include "BuildFilesCommand.h"
#include "BuildModFolderCommand.h"
#include "DiffCommand.h"
#include "EntriesCommand.h"
#include "ExtractCommand.h"
#include "InstallCommand.h"
#include "ListCommand.h"
#include "NewCommand.h"
#include "RebaseCommand.h"
#include "RecoveryCommand.h"
#include "RemoveCommand.h"
#include "TableCommand.h"
#include "TargetCommand.h"
#include "core/ProgramVersion.h"

CarvestoneCli::CarvestoneCli()
{
    commands.push_back(std::make_unique<NewCommand>());
    commands.push_back(std::make_unique<EntriesCommand>());
    commands.push_back(std::make_unique<AddCommand>());
    commands.push_back(std::make_unique<RemoveCommand>());
    commands.push_back(std::make_unique<ListCommand>());
    commands.push_back(std::make_unique<ExtractCommand>());
    commands.push_back(std::make_unique<BuildCommand>());
    commands.push_back(std::make_unique<InstallCommand>());
    commands.push_back(std::make_unique<TargetCommand>());
    commands.push_back(std::make_unique<BuildFilesCommand>());
    commands.push_back(std::make_unique<BuildModFolderCommand>());
    commands.push_back(std::make_unique<TableCommand>());
    commands.push_back(std::make_unique<DiffCommand>());
    commands.push_back(std::make_unique<RebaseCommand>());
    commands.push_back(std::make_unique<RecoveryCommand>());
}

CarvestoneCli::~CarvestoneCli() = default;

QString CarvestoneCli::Usage() const
{
    QString text = QStringLiteral("usage: carvestone-cli VERB ARGUMENTS...\n"
                                  "       carvestone-cli VERB --help\n"
                                  "       carvestone-cli --help | --version\n\nverbs:\n");
    for (const auto& command : commands)
        text += QStringLiteral("  %1\n").arg(command->Synopsis());
    return text;
}

Command* CarvestoneCli::Find(const QString& name) const
{
    for (const auto& command : commands) {
        if (command->Name() == name)
            return command.get();
    }
    return nullptr;
}

int CarvestoneCli::RunHelp(const QStringList& arguments, CommandContext& context) const
{
    if (arguments.isEmpty()) {
        context.out << Usage();
        return Command::Success;
    }
    if (const Command* command = Find(arguments.first())) {
        context.out << command->Help();
        return Command::Success;
    }
    context.err << "carvestone-cli: unknown verb " << arguments.first() << "\n" << Usage();
    return Command::UsageError;
}

int CarvestoneCli::Run(const QStringList& arguments, CommandContext& context)
{
    const QString first = arguments.value(0);
    if (first == QLatin1String("--version")) {
        context.out << "carvestone-cli " << ProgramVersion::Text() << "\n";
        return Command::Success;
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help"))
        return RunHelp(arguments.mid(1), context);
    if (Command* command = Find(first))
        return command->Run(arguments.mid(1), context);
    if (!first.isEmpty())
        context.err << "carvestone-cli: unknown verb " << first << "\n";
    context.err << Usage();
    return Command::UsageError;
}
