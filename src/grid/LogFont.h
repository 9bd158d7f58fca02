#pragma once

#include <QFont>
#include <QString>

// A font as the grid, the table view and the font page describe it: height in
// pixels (negative = character height, positive = cell height, 0 = the
// default size), weight (400 normal, 700 bold), italic, escapement in tenths
// of a degree (900 or -900 = vertical text) and face name.
struct LogFont
{
    int lfHeight = 0;
    int lfEscapement = 0;
    int lfWeight = 400;
    bool lfItalic = false;
    QString lfFaceName;

    static constexpr int FW_NORMAL = 400;
    static constexpr int FW_BOLD = 700;

    bool IsVertical() const { return lfEscapement == 900 || lfEscapement == -900; }
    bool operator==(const LogFont&) const = default;

    QFont ToQFont() const;
    static LogFont FromQFont(const QFont& font);
};
