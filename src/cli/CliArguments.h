#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>

// The words after a carvestone-cli verb: positional words in order, the
// values of the options the verb knows and its switches.  A word starting
// with "--" that the verb does not know (or an option without its value)
// is a usage error.  Also the exit statuses, shared by every verb.
class CliArguments
{
public:
    static constexpr int Success = 0;
    static constexpr int Failure = 1;
    static constexpr int UsageError = 2;

    CliArguments(const QStringList& words, const QStringList& valueOptions, const QStringList& switchOptions = {});

    const QStringList& Positional() const { return positional; }
    QString Value(const QString& option, const QString& fallback) const { return values.value(option, fallback); }
    bool Has(const QString& switchOption) const { return switches.contains(switchOption); }
    // Exactly count positional words and no unknown option.
    bool Fits(qsizetype count) const { return positional.size() == count && unknown.isEmpty(); }

private:
    QStringList positional;
    QHash<QString, QString> values;
    QSet<QString> switches;
    QString unknown;
};
