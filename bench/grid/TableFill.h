#pragma once

#include <QByteArray>

class CGridCtrl;

// Fills a grid from the bytes of a tab-delimited table (one byte is one
// character; lines end with LF or CR LF): the first line becomes the fixed
// header row, the first field of each line the fixed heading column.
class TableFill
{
public:
    static void Fill(CGridCtrl& grid, const QByteArray& bytes);
};
