#pragma once

#include <QByteArrayView>
#include <QSize>

class CGridDefaultCell;
class Latin1Glyphs;

// Measures the cells of one area that have nothing of their own straight
// from their Latin-1 bytes.  The answer is what GetTextExtent gives such a
// cell (the area's font through its glyph widths, the area's margin), with
// the area's format, margin and font looked up once for a whole pass over a
// table of a hundred thousand cells.
class GridPlainMeasure
{
public:
    explicit GridPlainMeasure(const CGridDefaultCell& area);

    // False where the area's format wraps words or its font stands upright:
    // those cells take the laid-out measure of the cell itself.
    bool IsDirect() const { return m_direct; }
    QSize Extent(QByteArrayView latin1) const;

private:
    const CGridDefaultCell& m_area;
    const Latin1Glyphs& m_glyphs;
    int m_margin;
    int m_height;
    bool m_direct;
};
