#include "CliArguments.h"

CliArguments::CliArguments(const QStringList& words, const QStringList& valueOptions,
                           const QStringList& switchOptions)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (valueOptions.contains(word) && i + 1 < words.size())
            values.insert(word, words[++i]);
        else if (switchOptions.contains(word))
            switches.insert(word);
        else if (word.startsWith(QLatin1String("--")) && unknown.isEmpty())
            unknown = word;
        else
            positional << word;
    }
}
