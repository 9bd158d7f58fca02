#include "grid/LogFont.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <cstdlib>

namespace {

// Qt weights run 100..900 like these ones; only the scale's ends differ.
QFont::Weight QtWeight(int weight)
{
    return QFont::Weight(qBound(1, weight == 0 ? LogFont::FW_NORMAL : weight, 1000));
}

} // namespace

QFont LogFont::ToQFont() const
{
    QFont font(lfFaceName);
    font.setWeight(QtWeight(lfWeight));
    font.setItalic(lfItalic);
    if (lfHeight < 0) {
        font.setPixelSize(-lfHeight);
    } else if (lfHeight > 0) {
        // A positive height is the whole cell (ascent + descent): scale the
        // character height so that the line comes out that tall.
        font.setPixelSize(lfHeight);
        const int cell = QFontMetrics(font).height();
        if (cell > 0)
            font.setPixelSize(qMax(1, lfHeight * lfHeight / cell));
    }
    return font;
}

LogFont LogFont::FromQFont(const QFont& font)
{
    LogFont result;
    result.lfFaceName = font.family();
    result.lfWeight = int(font.weight());
    result.lfItalic = font.italic();
    if (font.pixelSize() > 0)
        result.lfHeight = -font.pixelSize();
    else
        result.lfHeight = -QFontInfo(font).pixelSize();
    return result;
}
