#pragma once

class CGridCtrl;

// What a grid tells its owner: id is the grid's control id, code one of the
// GridNotify* codes of CGridCtrl (or a standard click code), row and column
// the cell concerned.
struct GridNotifyInfo
{
    CGridCtrl* grid;
    int id;
    int code;
    int row;
    int column;
};

// The window that owns a grid answers its notifications, synchronously.  A
// grid without an owner takes every answer as 0, and so does an owner for a
// notification it leaves to the grid.
class GridOwner
{
public:
    virtual long OnGridNotify(const GridNotifyInfo&) { return 0; }

protected:
    ~GridOwner() = default;
};
