#pragma once

#include <QtGlobal>

// Text-drawing flags of cell formats, with the values the tables store.
inline constexpr quint32 DT_TOP = 0x0;
inline constexpr quint32 DT_LEFT = 0x0;
inline constexpr quint32 DT_CENTER = 0x1;
inline constexpr quint32 DT_RIGHT = 0x2;
inline constexpr quint32 DT_VCENTER = 0x4;
inline constexpr quint32 DT_BOTTOM = 0x8;
inline constexpr quint32 DT_WORDBREAK = 0x10;
inline constexpr quint32 DT_SINGLELINE = 0x20;
inline constexpr quint32 DT_CALCRECT = 0x400;
inline constexpr quint32 DT_NOPREFIX = 0x800;
inline constexpr quint32 DT_END_ELLIPSIS = 0x8000;

// The Qt alignment (and word wrap) that a format asks for.
int DrawTextFlagsToQt(quint32 format);
