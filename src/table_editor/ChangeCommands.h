#pragma once

struct CommandState;
struct TableEntry;

// The commands on what an open table changes against the game: Show
// Changes, Next and Previous Change (F8, Shift+F8) and Revert to Game
// Value, which puts the game's values back into the selected changed cells
// as one step of the table's history.
class ChangeCommands
{
public:
    static bool Handles(int id);
    // entry: the current table, or none.
    static void Update(int id, const TableEntry* entry, CommandState& state);
    static void Run(int id, TableEntry& entry);

private:
    static void GoToNext(TableEntry& entry, bool forward);
    static void Revert(TableEntry& entry);
    static bool SelectionHoldsAChange(const TableEntry& entry);
};
