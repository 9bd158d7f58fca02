#pragma once

#include <QList>
#include <QString>

// One way in which saving a loaded table would write other bytes than the
// file held, with the first line (counted from 1) where it happens.
struct TableChange
{
    enum Kind {
        LineEnds,       // a line ended by LF, by CR or by nothing gets CR LF
        TrailingColumn, // an empty last column (its heading too) is dropped
        ExtraFields,    // fields beyond the header's count are dropped
        ShortLines,     // a line with fewer fields gets empty ones up to the header's count
        AfterNul,       // the data stops at the first NUL byte
    };

    Kind kind;
    int line;

    // "line ends made CR LF (first at line 3)" and the like.
    QString Describe() const;
    // True when the change throws away text the file holds.
    bool LosesData() const { return kind == ExtraFields || kind == AfterNul; }
    bool operator==(const TableChange&) const = default;
};

using TableChanges = QList<TableChange>;
