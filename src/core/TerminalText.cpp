#include "TerminalText.h"

QString TerminalText::NameFromTerminal(const QString& argument)
{
    return QString::fromLatin1(argument.toLocal8Bit());
}

QString TerminalText::NameForTerminal(const QString& name)
{
    return QString::fromLocal8Bit(name.toLatin1());
}
