#include "grid/GridExtentCache.h"

#include "grid/CGridCellBase.h"

QSize GridExtentCache::Extent(const CGridCellBase& cell)
{
    if (!cell.IsDefaultFont() || cell.GetImage() >= 0)
        return cell.GetCellExtent();
    Key key{cell.GetDefaultCell(), cell.GetFormat(), cell.GetMargin(), cell.GetText()};
    const auto found = m_extents.constFind(key);
    if (found != m_extents.cend())
        return found.value();
    const QSize extent = cell.GetCellExtent();
    m_extents.insert(std::move(key), extent);
    return extent;
}
