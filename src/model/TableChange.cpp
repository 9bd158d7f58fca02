#include "TableChange.h"

QString TableChange::Describe() const
{
    QString what;
    switch (kind) {
    case LineEnds: what = QStringLiteral("line ends made CR LF"); break;
    case TrailingColumn: what = QStringLiteral("empty trailing column dropped"); break;
    case ExtraFields: what = QStringLiteral("fields beyond the header dropped"); break;
    case ShortLines: what = QStringLiteral("short lines filled with empty fields"); break;
    case AfterNul: what = QStringLiteral("data after a NUL dropped"); break;
    }
    return QStringLiteral("%1 (first at line %2)").arg(what).arg(line);
}
