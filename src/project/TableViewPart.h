#pragma once

// What the document needs from the table view: whether an open table has
// unsaved changes, and saving them.  The table view implements it; until a
// main window has one, the document has only its own changes to care about.
class TableViewPart
{
public:
    virtual bool IsAnyTableModified() const = 0;
    // True when every modified table was written.
    virtual bool SaveAllModifiedTables() = 0;

protected:
    ~TableViewPart() = default;
};
