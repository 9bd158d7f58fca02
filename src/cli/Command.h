#pragma once

#include "CommandContext.h"

#include <QCommandLineParser>
#include <QList>
#include <QString>

// One verb of carvestone-cli: its name, the words it takes, its options and
// its help.  Run parses the words after the verb, answers --help on
// standard output, refuses wrong usage with the usage line (exit 2) and
// otherwise hands the parsed words to Execute.
class Command
{
public:
    static constexpr int Success = 0;
    static constexpr int Failure = 1;
    static constexpr int UsageError = 2;

    virtual ~Command() = default;

    const QString& Name() const { return name; }
    // "new NAME [--mods DIR]": the verb and what follows it.
    QString Synopsis() const;
    const QString& Summary() const { return summary; }
    // The whole --help text, ending with a newline.
    QString Help() const;

    int Run(const QStringList& words, CommandContext& context);

protected:
    struct Option
    {
        QString name;      // without the leading "--"
        QString valueName; // empty for a switch
        QString description;
    };

    // arguments: the positional words as the synopsis shows them ("PROJECT
    // ENTRY..."); minimum and maximum count them (-1: no maximum).
    Command(QString name, QString arguments, int minimum, int maximum, QString summary, QList<Option> options = {});

    virtual int Execute(const QCommandLineParser& parsed, CommandContext& context) = 0;

    // "verb: " followed by the text and a line break, on the error stream.
    void Fail(CommandContext& context, const QString& text) const;

private:
    bool Parse(QCommandLineParser& parser, const QStringList& words, QString* problem) const;
    int RefuseUsage(CommandContext& context, const QString& problem) const;

    QString name;
    QString arguments;
    int minimum;
    int maximum;
    QString summary;
    QList<Option> options;
};
