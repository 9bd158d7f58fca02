#include "ChangeColours.h"

#include <QPalette>

namespace {

QColor Mixed(const QColor& base, const QColor& hue, double share)
{
    const auto channel = [share](int from, int to) { return int(from + (to - from) * share + 0.5); };
    return QColor(channel(base.red(), hue.red()), channel(base.green(), hue.green()),
                  channel(base.blue(), hue.blue()));
}

} // namespace

ChangeColours ChangeColours::For(const QPalette& palette)
{
    const QColor base = palette.color(QPalette::Base);
    // On a dark base a hue shows with less of it; on a light one it needs
    // a little more to be seen at a glance.
    const double share = base.lightness() < 128 ? 0.32 : 0.38;
    return {Mixed(base, QColor(245, 180, 0), share), Mixed(base, QColor(40, 185, 75), share),
            Mixed(base, QColor(60, 130, 250), share), Mixed(base, QColor(235, 45, 45), share)};
}
