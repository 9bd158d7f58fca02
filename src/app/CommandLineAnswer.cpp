#include "CommandLineAnswer.h"

#include "core/ProgramVersion.h"

std::optional<QString> CommandLineAnswer::For(const QStringList& arguments)
{
    for (const QString& word : arguments) {
        if (word == QLatin1String("--"))
            break;
        if (word == QLatin1String("--help") || word == QLatin1String("-h"))
            return Help();
        if (word == QLatin1String("--version"))
            return Version();
    }
    return std::nullopt;
}

QString CommandLineAnswer::Help()
{
    return QStringLiteral(
        "usage: carvestone [PROJECT]\n"
        "\n"
        "Carvestone, the Diablo II MOD editor. It opens the MOD project file PROJECT\n"
        "(NAME.mod); without one, the most recent project, or it asks for a new one.\n"
        "While Carvestone runs, a second start hands PROJECT to the running program.\n"
        "\n"
        "options:\n"
        "  --help     show this help and exit\n"
        "  --version  show the program's version and exit\n"
        "\n"
        "Settings are kept in $CARVESTONE_CONFIG_DIR/Carvestone.ini when it is set,\n"
        "else in the user's configuration folder (Carvestone/Carvestone.ini).\n"
        "carvestone-cli does the same work from the command line: carvestone-cli --help.\n");
}

QString CommandLineAnswer::Version()
{
    return QStringLiteral("carvestone %1\n").arg(ProgramVersion::Text());
}
