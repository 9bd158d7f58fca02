#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What carvestone answers on standard output without starting: its help
// and its version.  Asked before the application object exists, because
// that needs a display, and a person (or a package check) asking
// "carvestone --version" over ssh or in a build has none.
class CommandLineAnswer
{
public:
    // The text for --help, -h or --version among the words after the
    // program's name, ending with a newline; none when the program is to
    // start.  Words after "--" are file names.
    static std::optional<QString> For(const QStringList& arguments);

    static QString Help();
    static QString Version();
};
