#include "grid/GridPlainMeasure.h"

#include "grid/CGridDefaultCell.h"
#include "grid/DrawTextFlags.h"

GridPlainMeasure::GridPlainMeasure(const CGridDefaultCell& area)
    : m_area(area)
    , m_margin(int(area.GetMargin()))
    , m_height(area.GetFontMetrics().height() + 2 * m_margin)
{
    const quint32 format = area.GetFormat();
    const bool wraps = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    m_direct = !wraps && !area.GetFont()->IsVertical();
}

QSize GridPlainMeasure::Extent(QByteArrayView latin1) const
{
    return QSize(m_area.SingleLineWidth(latin1) + 4 * m_margin, m_height);
}
