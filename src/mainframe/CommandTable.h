#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// One command as menus, shortcuts, toolbar and status bar present it.
struct CommandDescriptor
{
    int id;
    QString menuText;            // with '&' and, after a tab, the key shown
    QList<QKeySequence> shortcuts; // keys of the main window (none for keys a view turns into commands)
};

// The program's command table; QActions are made from it.  Prompts and
// tooltips are the two halves of the command's string in the string table.
class CommandTable
{
public:
    static const QList<CommandDescriptor>& All();
    // nullptr for an id that is not in the table.
    static const CommandDescriptor* Find(int id);
};
