#include "grid/GridPlainMeasure.h"

#include "grid/CGridDefaultCell.h"
#include "grid/DrawTextFlags.h"

GridPlainMeasure::GridPlainMeasure(const CGridDefaultCell& area)
    : m_area(area)
    , m_glyphs(area.GetGlyphs())
    , m_margin(int(area.GetMargin()))
    , m_height(area.GetFontMetrics().height() + 2 * m_margin)
{
    const quint32 format = area.GetFormat();
    const bool wraps = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    m_direct = !wraps && !area.GetFont()->IsVertical();
}

QSize GridPlainMeasure::Extent(QByteArrayView latin1) const
{
    const std::optional<int> glyphsWidth = m_glyphs.WidthOf(latin1);
    const int width = glyphsWidth ? *glyphsWidth : m_area.SingleLineWidth(latin1);
    return QSize(width + 4 * m_margin, m_height);
}
