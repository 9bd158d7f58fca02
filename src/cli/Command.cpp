#include "Command.h"

namespace {

const QString HelpOption = QStringLiteral("help");
constexpr int HelpWidth = 79;

// The words of text in lines of at most width characters, each line
// starting with indent.
QString Wrapped(const QString& text, int width, const QString& indent = {})
{
    QString wrapped;
    QString line = indent;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        if (line.size() > indent.size() && line.size() + 1 + word.size() > width) {
            wrapped += line + '\n';
            line = indent;
        }
        line += (line.size() > indent.size() ? QStringLiteral(" ") : QString()) + word;
    }
    return wrapped + line + '\n';
}

} // namespace

Command::Command(QString name, QString arguments, int minimum, int maximum, QString summary, QList<Option> options)
    : name(std::move(name))
    , arguments(std::move(arguments))
    , minimum(minimum)
    , maximum(maximum)
    , summary(std::move(summary))
    , options(std::move(options))
{
}

QString Command::Synopsis() const
{
    QString text = name;
    if (!arguments.isEmpty())
        text += ' ' + arguments;
    for (const Option& option : options)
        text += QStringLiteral(" [--%1%2]").arg(option.name, option.valueName.isEmpty() ? QString() : ' ' + option.valueName);
    return text;
}

QString Command::Help() const
{
    QString text = QStringLiteral("usage: carvestone-cli %1\n\n").arg(Synopsis()) + Wrapped(summary, HelpWidth);
    text += QStringLiteral("\noptions:\n");
    QList<Option> shown = options;
    shown.append({HelpOption, {}, QStringLiteral("show this help and exit")});
    for (const Option& option : shown) {
        const QString left =
            QStringLiteral("--%1%2").arg(option.name, option.valueName.isEmpty() ? QString() : ' ' + option.valueName);
        text += QStringLiteral("  %1  %2\n").arg(left, -22).arg(option.description);
    }
    return text;
}

int Command::Run(const QStringList& words, CommandContext& context)
{
    QCommandLineParser parser;
    QString problem;
    const bool parsed = Parse(parser, words, &problem);
    // Help is answered even after other mistakes: it is what the person
    // needs.  After "--" every word is an argument, "-h" too (a file may
    // have that name).
    const QStringList optionWords = words.mid(0, words.indexOf(QStringLiteral("--")));
    if (parser.isSet(HelpOption) || optionWords.contains(QStringLiteral("-h"))) {
        context.out << Help();
        return Success;
    }
    if (!parsed)
        return RefuseUsage(context, problem);
    return Execute(parser, context);
}

bool Command::Parse(QCommandLineParser& parser, const QStringList& words, QString* problem) const
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(HelpOption));
    for (const Option& option : options)
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
    if (!parser.parse(QStringList(name) + words)) {
        *problem = parser.errorText();
        return false;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < minimum || (maximum >= 0 && count > maximum)) {
        *problem = count < minimum ? QStringLiteral("too few arguments") : QStringLiteral("too many arguments");
        return false;
    }
    return true;
}

int Command::RefuseUsage(CommandContext& context, const QString& problem) const
{
    context.err << name << ": " << problem << "\nusage: carvestone-cli " << Synopsis() << "\n";
    return UsageError;
}

void Command::Fail(CommandContext& context, const QString& text) const
{
    context.err << name << ": " << text << "\n";
}
