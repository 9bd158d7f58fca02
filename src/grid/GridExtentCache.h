#pragma once

#include <QHash>
#include <QSize>
#include <QString>

class CGridCellBase;
class CGridDefaultCell;

// Measures cells for auto-sizing.  A game table repeats the same few
// thousand texts over hundreds of thousands of cells, so a cell drawn with
// its default cell's font is measured once per distinct text, format and
// margin; the answer is the cell's own GetCellExtent, so the sizes are
// exactly what painting needs.  A cache lives for one sizing pass.
class GridExtentCache
{
public:
    QSize Extent(const CGridCellBase& cell);

private:
    struct Key
    {
        const CGridDefaultCell* defaultCell;
        quint32 format;
        quint32 margin;
        QString text;

        bool operator==(const Key&) const = default;
        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.defaultCell, key.format, key.margin, key.text);
        }
    };

    QHash<Key, QSize> m_extents;
};
