#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are kept as the program's tables know them: 0x00BBGGRR, with
// CLR_DEFAULT meaning "take the default cell's colour".  They become QColor
// only when painting.
using COLORREF = quint32;

inline constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}

// System colour indexes as the program names them; GetSysColor maps each to
// the application palette's matching role.
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_3DFACE = 15;
inline constexpr int COLOR_3DSHADOW = 16;
inline constexpr int COLOR_3DHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;

inline QColor ColorRefToQColor(COLORREF colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

inline COLORREF QColorToColorRef(const QColor& colour)
{
    return RGB(colour.red(), colour.green(), colour.blue());
}

// The current value of a system colour; black for an index without a role.
COLORREF GetSysColor(int index);
