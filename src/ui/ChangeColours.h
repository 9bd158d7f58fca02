#pragma once

#include <QColor>

class QPalette;

// The tints that mark changes in a table: each is the palette's base
// colour mixed with a hue, so the text on it reads as well as on a plain
// cell, in a light palette and a dark one alike.
struct ChangeColours
{
    QColor changedCell;
    QColor addedRow;
    QColor addedColumn;
    QColor conflict;

    static ChangeColours For(const QPalette& palette);
};
