#include "FileKindIcons.h"

#include "FileKind.h"

#include <array>

QIcon FileKindIcons::Icon(int index)
{
    static const std::array<QIcon, FileKind::Count> icons = [] {
        std::array<QIcon, FileKind::Count> made;
        for (int kind = 0; kind < FileKind::Count; ++kind)
            made[kind] = QIcon(QStringLiteral(":/icons/filekind-%1.svg").arg(kind));
        return made;
    }();
    return index >= 0 && index < FileKind::Count ? icons[index] : QIcon();
}
