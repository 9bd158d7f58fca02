#include "CommandTable.h"

#include "ui/CommandIds.h"

#include <algorithm>

namespace {

QString Text(const char* text)
{
    return QString::fromLatin1(text);
}

QList<QKeySequence> Keys(std::initializer_list<QKeySequence> keys)
{
    return QList<QKeySequence>(keys);
}

} // namespace

const QList<CommandDescriptor>& CommandTable::All()
{
    using namespace CommandId;
    static const QList<CommandDescriptor> table = {
        {FileNew, Text("&New\tCtrl+N"), Keys({QKeySequence(Qt::CTRL | Qt::Key_N)})},
        {FileOpen, Text("&Open...\tCtrl+O"), Keys({QKeySequence(Qt::CTRL | Qt::Key_O)})},
        {FileSave, Text("&Save\tCtrl+S"), Keys({QKeySequence(Qt::CTRL | Qt::Key_S)})},
        {AddFiles, Text("&Add Files...\tIns"), {}},
        {RemoveFile, Text("&Remove File\tDel"), {}},
        {OpenFile, Text("&Open File\tEnter"), {}},
        {CloseFile, Text("C&lose File\tCtrl+F4"), Keys({QKeySequence(Qt::CTRL | Qt::Key_F4)})},
        {Exit, Text("E&xit"), {}},
        {EditCut, Text("Cu&t\tCtrl+X"),
         Keys({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)})},
        {EditCopy, Text("&Copy\tCtrl+C"),
         Keys({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)})},
        {EditPaste, Text("&Paste\tCtrl+V"),
         Keys({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)})},
        {EditUndo, Text("&Undo\tCtrl+Z"), Keys({QKeySequence(Qt::CTRL | Qt::Key_Z)})},
        {EditRedo, Text("&Redo\tCtrl+Y"),
         Keys({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})},
        {AddRow, Text("&Add Row..."), {}},
        {RemoveRow, Text("&Remove Row"), {}},
        {RenameRow, Text("R&ename Row..."), {}},
        {RenameColumn, Text("Re&name Column..."), {}},
        {EditFind, Text("&Find...\tF3"), Keys({QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::Key_F)})},
        {ViewToolbar, Text("&Toolbar"), {}},
        {ViewStatusBar, Text("&Status Bar"), {}},
        {Build, Text("&Build\tF7"), Keys({QKeySequence(Qt::Key_F7)})},
        {Install, Text("&Install"), {}},
        {Options, Text("&Options..."), {}},
        {HelpReadme, Text("Carvestone &Help\tF1"), Keys({QKeySequence(Qt::Key_F1)})},
        {Saltmarsh, Text("&Saltmarsh"), {}},
        {ShowChanges, Text("Show &Changes"), {}},
        {ChangesList, Text("Changes &List"), {}},
        {NextChange, Text("&Next Change\tF8"), Keys({QKeySequence(Qt::Key_F8)})},
        {PreviousChange, Text("&Previous Change\tShift+F8"), Keys({QKeySequence(Qt::SHIFT | Qt::Key_F8)})},
        {RevertToGameValue, Text("Revert to &Game Value"), {}},
        {RebaseMod, Text("&Rebase onto New Game Data..."), {}},
        {About, Text("&About Carvestone..."), {}},
        {NextTable, {}, Keys({QKeySequence(Qt::CTRL | Qt::Key_Tab)})},
        {PreviousTable, {}, Keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_Backtab)})},
        {NextPane, {}, Keys({QKeySequence(Qt::Key_F6)})},
        {PreviousPane, {}, Keys({QKeySequence(Qt::SHIFT | Qt::Key_F6)})},
    };
    return table;
}

const CommandDescriptor* CommandTable::Find(int id)
{
    const auto& table = All();
    const auto found = std::find_if(table.begin(), table.end(), [id](const CommandDescriptor& d) { return d.id == id; });
    return found == table.end() ? nullptr : &*found;
}
