#include "grid/ColorRef.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QPalette::ColorRole RoleOf(int index, bool* known)
{
    *known = true;
    switch (index) {
    case COLOR_WINDOW: return QPalette::Base;
    case COLOR_WINDOWTEXT: return QPalette::Text;
    case COLOR_3DFACE: return QPalette::Button;
    case COLOR_3DSHADOW: return QPalette::Mid;
    case COLOR_3DDKSHADOW: return QPalette::Shadow;
    case COLOR_3DHIGHLIGHT: return QPalette::Light;
    case COLOR_HIGHLIGHT: return QPalette::Highlight;
    case COLOR_HIGHLIGHTTEXT: return QPalette::HighlightedText;
    case COLOR_APPWORKSPACE: return QPalette::Dark;
    case COLOR_INFOBK: return QPalette::ToolTipBase;
    case COLOR_INFOTEXT: return QPalette::ToolTipText;
    default: *known = false; return QPalette::NoRole;
    }
}

} // namespace

COLORREF GetSysColor(int index)
{
    bool known = false;
    const QPalette::ColorRole role = RoleOf(index, &known);
    if (!known)
        return RGB(0, 0, 0);
    return QColorToColorRef(QGuiApplication::palette().color(QPalette::Active, role));
}
